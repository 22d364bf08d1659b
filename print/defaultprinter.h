#pragma once

#include "core/result.h"
#include "core/standin.h"
#include "print/cupsclient.h"

#include <QString>

#include <memory>

class QPrinter;

namespace zor {

// Where a print job goes: the printers of the system's print spooler, the
// default one first, each on its own paper. Both calls wait for the spooler
// and belong on a thread of their own. Tests put printers of their own in
// its place (PDF files), or none at all to stand for a desktop without any
// printer installed.
class DefaultPrinter : public Replaceable<DefaultPrinter>
{
public:
    static DefaultPrinter &real();

    // The printers there are and the default; fails when the print system
    // cannot be asked or does not answer. `keepGoing` false gives up.
    virtual Result<cups::Printers> printers(const std::function<bool()> &keepGoing);

    // A printer on `queue`'s own paper and printable area; null when there
    // is no such printer.
    virtual std::unique_ptr<QPrinter> printer(const QString &queue);
};

} // namespace zor
