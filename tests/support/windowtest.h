#pragma once

#include "tests/support/formfixture.h"

#include <QObject>

#include <memory>

namespace zortest {

// The base of the test classes that give every case a window of its own:
// made fresh before each case as `Kind` says, and gone after it, with the
// scripted dialogs' answers and records forgotten. A class sets the start
// its cases share (the page shown, masters typed in) in `prepare()`.
class WindowTest : public QObject
{
    Q_OBJECT

public:
    enum class Kind {
        Shown,          // shown, the dialogs scripted
        Active,         // shown and made active by the window manager, real message boxes
        ActiveScripted, // ... with the dialogs scripted
    };

protected:
    explicit WindowTest(Kind kind)
        : m_kind(kind)
    { }
    // After the window is made; a failed check here skips the case.
    virtual void prepare() { }

    std::unique_ptr<TSDIAppForm> form;

private slots:
    void init();
    void cleanup();

private:
    Kind m_kind;
};

} // namespace zortest
