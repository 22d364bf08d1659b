#pragma once

#include <functional>
#include <memory>

class QPrinter;

namespace zor {

// Where a print job goes. The program prints on the system's default printer;
// tests put a PDF printer of their own in its place, or none at all to stand
// for a desktop without any printer installed.
class PrinterSeam
{
public:
    using Provider = std::function<std::unique_ptr<QPrinter>()>;

    // The printer to print on; null when no printer is installed.
    static std::unique_ptr<QPrinter> printer();

    // Replaces the system's default printer; an empty provider restores it.
    static void setProvider(Provider provider);
};

} // namespace zor
