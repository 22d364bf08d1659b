// Printing the whole report, on the printer or into a PDF file.

#include "ui/tsdiappform.h"

void TSDIAppForm::FilePrintExecute1()
{
}

void TSDIAppForm::FileSavePdfExecute()
{
}
