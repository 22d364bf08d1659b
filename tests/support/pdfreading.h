#pragma once

// A PDF read back the way a person checks a printout, with poppler's tools.

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace zortest {

// What a command-line tool (poppler's, lpstat) prints; empty when it failed.
QString toolOutput(const QString &tool, const QStringList &args);

// The PDF's text as pdftotext lays it out; one page per form feed.
QString pdfText(const QString &path);

// The number of pages and the size of the first, in points; 0 and empty when
// the file is no complete PDF.
int pdfPageCount(const QString &path);
QSizeF pdfPageSize(const QString &path);

// A word of the PDF's first page with its box in points.
struct PdfWord
{
    QString text;
    double xMin = -1, yMin = -1, xMax = -1, yMax = -1;
    double height() const { return yMax - yMin; }
};

QList<PdfWord> pdfWords(const QString &path);

// The first word `text` of the list; one with a negative box when there is none.
PdfWord pdfWord(const QList<PdfWord> &words, const QString &text);

// A text of the PDF's first page, in the order drawn, with the size in whole
// points and the face of the font it is drawn in.
struct PdfText
{
    QString text;
    int size = 0;
    QString family;
};

QList<PdfText> pdfTextsWithFonts(const QString &path);

} // namespace zortest
