// Sending the report, the help page and the about box.

#include "ui/tsdiappform.h"

#include "ui/taboutbox.h"

void TSDIAppForm::EMailSchickenExecute()
{
}

void TSDIAppForm::HilfeInhaltExecute()
{
}

void TSDIAppForm::HelpAbout1Execute()
{
    aboutBox()->exec();
}
