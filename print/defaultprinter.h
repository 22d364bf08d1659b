#pragma once

#include "reportfile/standin.h"

#include <memory>

class QPrinter;

namespace zor {

// Where a print job goes: the system's default printer, on its own paper.
// Tests put a PDF printer of their own in its place, or none at all to stand
// for a desktop without any printer installed.
class DefaultPrinter : public Replaceable<DefaultPrinter>
{
public:
    static DefaultPrinter &real();

    // The printer to print on; null when no printer is installed.
    virtual std::unique_ptr<QPrinter> printer();
};

} // namespace zor
