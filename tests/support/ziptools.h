#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace zortest {

// A zip archive with these parts, written by QuaZip; an entry with a
// password when `password` is given.
QByteArray zipOf(const QList<QPair<QString, QByteArray>> &parts, const char *password = nullptr);

// The parts of a small but complete workbook whose first sheet is `sheetXml`
// (the <sheetData> content), with a shared-strings part and a date style 1.
QList<QPair<QString, QByteArray>> workbookParts(const QByteArray &sheetData,
                                                const QByteArray &sharedStrings = QByteArray());

} // namespace zortest
