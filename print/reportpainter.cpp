#include "print/reportpainter.h"

#include "core/texts.h"
#include "reportfile/safefile.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace zor {

namespace {

constexpr int PdfResolution = 600;

void setUpPdf(QPdfWriter &writer)
{
    writer.setResolution(PdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setCreator(zor::programName());
}

QFont printFont(const QString &family, qreal pointSize)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    // Where the named face is missing, fall back to one of the same kind.
    font.setStyleHint(family.startsWith(QLatin1String("Courier")) ? QFont::TypeWriter
                                                                  : QFont::SansSerif);
    return font;
}

} // namespace

PageGeometry pageGeometry(const QPaintDevice &device)
{
    return PageGeometry{device.width(), device.height(), device.logicalDpiY()};
}

bool paintLayout(QPainter &painter, QPagedPaintDevice &device, const QList<PrintPage> &pages)
{
    QString family;
    qreal size = 0;
    qreal ascent = 0;
    for (int p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage())
            return false;
        for (const PrintText &t : pages[p]) {
            if (t.family != family || t.pointSize != size) {
                family = t.family;
                size = t.pointSize;
                painter.setFont(printFont(family, size));
                ascent = QFontMetricsF(painter.font(), &device).ascent();
            }
            // The layout gives the top of the text; drawText wants the baseline.
            if (!t.text.isEmpty())
                painter.drawText(QPointF(t.x, t.y + ascent), t.text);
        }
    }
    return true;
}

bool printLayout(QPrinter &printer, const PrintLayout &layout)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    if (!paintLayout(painter, printer, layout.pages)) {
        printer.abort();
        painter.end();
        return false;
    }
    painter.end();
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

PageGeometry pdfGeometry()
{
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter writer(&nowhere);
    setUpPdf(writer);
    return pageGeometry(writer);
}

Result<void> writePdf(const PrintLayout &layout, const QString &path)
{
    // The PDF is made in memory and then written like a report: a full disk
    // or a failed replace is seen, and an old file of that name stays intact.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        setUpPdf(writer);
        QPainter painter;
        if (!painter.begin(&writer))
            return Failure{QStringLiteral("Die PDF-Ausgabe konnte nicht begonnen werden.")};
        const bool drawn = paintLayout(painter, writer, layout.pages);
        // Ending the painter writes the rest of the PDF.
        painter.end();
        if (!drawn)
            return Failure{
                    QStringLiteral("Eine Seite der PDF-Datei konnte nicht angelegt werden.")};
    }
    if (const SaveResult saved = writeFileSafely(path, pdf.data()); !saved)
        return Failure{saved.reason()};
    return {};
}

} // namespace zor
