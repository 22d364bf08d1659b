#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

namespace zortest {

QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &bytes);

// Lines joined with CR LF, the last one ended too.
QByteArray crlfLines(const QList<QByteArray> &lines);

// What a program that was run left behind. Not finished when it did not end
// by itself in time (it is killed then, and err says so).
struct Run
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};
Run run(const QString &program, const QStringList &args,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
        const QString &workDir = {}, int timeoutMs = 30000);

} // namespace zortest
