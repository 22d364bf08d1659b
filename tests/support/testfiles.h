#pragma once

#include <QByteArray>
#include <QString>

namespace zortest {

QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &bytes);

// Lines joined with CR LF, the last one ended too.
QByteArray crlfLines(const QList<QByteArray> &lines);

} // namespace zortest
