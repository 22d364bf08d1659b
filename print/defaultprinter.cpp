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

Result<cups::Printers> DefaultPrinter::printers(const std::function<bool()> &keepGoing)
{
    Result<std::unique_ptr<cups::Connection>> spooler = cups::Connection::open(keepGoing);
    if (!spooler) {
        // Without a print system to reach there is no printer to choose.
        if (cups::available())
            return cups::Printers{};
        return spooler.failure();
    }
    return (*spooler)->printers();
}

std::unique_ptr<QPrinter> DefaultPrinter::printer(const QString &queue)
{
    // Qt's print support asks the spooler on this thread, with no limit of
    // its own; the window waits for it only so long.
    const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    usePrintersPaper(*printer, info);
    return printer;
}

} // namespace zor
