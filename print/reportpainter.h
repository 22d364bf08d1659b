#pragma once

#include "core/result.h"
#include "print/printlayout.h"

#include <QString>

class QPaintDevice;
class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace zor {

// What the layout needs to know of a page: its printable area in device
// pixels and the device's vertical resolution.
struct PageGeometry
{
    int width = 0;
    int height = 0;
    int dpiY = 0;
};

PageGeometry pageGeometry(const QPaintDevice &device);

// Draws the pages with a painter that is active on `device`, starting a new
// device page for each further page. False when the device refused a page.
bool paintLayout(QPainter &painter, QPagedPaintDevice &device, const QList<PrintPage> &pages);

// One print job on `printer`: begun, drawn and ended here. A job that fails
// on the way is aborted, never left open. False when it failed.
bool printLayout(QPrinter &printer, const PrintLayout &layout);

// The PDF copy of the printout: A4 at 600 dpi, the whole sheet as printable area.
PageGeometry pdfGeometry();

// Writes the layout as a PDF file; an existing file is only replaced once the
// new one is complete.
Result<void> writePdf(const PrintLayout &layout, const QString &path);

} // namespace zor
