#include "tests/support/windowtest.h"

#include "tests/support/realx.h"

namespace zortest {

void WindowTest::init()
{
    switch (m_kind) {
    case Kind::Shown:
        form = makeForm();
        break;
    case Kind::Active:
        form = makeActiveForm(false);
        break;
    case Kind::ActiveScripted:
        form = makeActiveForm(true);
        break;
    }
    prepare();
}

void WindowTest::cleanup()
{
    form.reset();
    dialogs().reset();
}

} // namespace zortest
