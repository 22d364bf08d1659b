#include "print/printerseam.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace zor {

namespace {

PrinterSeam::Provider &provider()
{
    static PrinterSeam::Provider p;
    return p;
}

} // namespace

std::unique_ptr<QPrinter> PrinterSeam::printer()
{
    if (provider())
        return provider()();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void PrinterSeam::setProvider(Provider p)
{
    provider() = std::move(p);
}

} // namespace zor
