#include "print/printerseam.h"

#include "print/printjob.h"

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
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    usePrintersPaper(*printer, info);
    return printer;
}

void PrinterSeam::setProvider(Provider p)
{
    provider() = std::move(p);
}

} // namespace zor
