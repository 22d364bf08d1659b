#include "print/defaultprinter.h"

#include "print/printjob.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace zor {

DefaultPrinter &DefaultPrinter::real()
{
    static DefaultPrinter printer;
    return printer;
}

std::unique_ptr<QPrinter> DefaultPrinter::printer()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    usePrintersPaper(*printer, info);
    return printer;
}

} // namespace zor
