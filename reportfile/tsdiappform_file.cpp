// The main window's report file routines: save, companion copy, open.

#include "ui/tsdiappform.h"

int TSDIAppForm::SaveReportFile()
{
    return 0;
}

void TSDIAppForm::WriteCompanionFile()
{
}

bool TSDIAppForm::LoadReportFile()
{
    return false;
}
