#pragma once

#include "tests/support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>

namespace zortest {

// A program of the desktop played by a shell script at the front of PATH: it
// writes its arguments, one a line, to <name>.args beside itself and exits
// with the given status (after sleeping, when asked to).
class StandInProgram
{
public:
    StandInProgram(const QString &name, int exitStatus, int sleepSeconds = 0)
        : m_name(name)
        , m_oldPath(qgetenv("PATH"))
    {
        const QString script = m_dir.filePath(name);
        zortest::writeAll(script, QStringLiteral("#!/bin/sh\n"
                                                 "printf '%s\\n' \"$@\" > \"$0.args\"\n"
                                                 "sleep %1\n"
                                                 "exit %2\n")
                                          .arg(sleepSeconds)
                                          .arg(exitStatus)
                                          .toUtf8());
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner);
        qputenv("PATH", m_dir.path().toLocal8Bit() + ':' + m_oldPath);
    }
    ~StandInProgram() { qputenv("PATH", m_oldPath); }

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.filePath(m_name); }
    // The arguments it was started with; empty when it was not started.
    QStringList arguments() const
    {
        QString text = QString::fromUtf8(zortest::readAll(path() + QStringLiteral(".args")));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }

private:
    QTemporaryDir m_dir;
    QString m_name;
    QByteArray m_oldPath;
};

} // namespace zortest
