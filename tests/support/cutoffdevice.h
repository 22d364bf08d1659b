#pragma once

#include "reportfile/safefile.h"

#include <QIODevice>

namespace zortest {

// Stands in for a disk that fills up: passes the first `limit` bytes on to
// the real target, then refuses every further byte with the system's words.
class CutOffDevice : public QIODevice
{
public:
    CutOffDevice(QIODevice &target, qint64 limit)
        : m_target(target)
        , m_limit(limit)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *d, qint64 n) override
    {
        const qint64 take = qMin(n, m_limit - m_passed);
        if (take <= 0) {
            setErrorString(QStringLiteral(
                    "Auf dem Ger\u00e4t ist kein Speicherplatz mehr verf\u00fcgbar"));
            return -1;
        }
        const qint64 w = m_target.write(d, take);
        if (w > 0)
            m_passed += w;
        return w;
    }

private:
    QIODevice &m_target;
    qint64 m_limit;
    qint64 m_passed = 0;
};

// A disk that fills up after `limit` bytes of each save, for as long as it lives.
class FillingDisk : public zor::SaveDevice
{
public:
    explicit FillingDisk(qint64 limitBytes = 0)
        : limit(limitBytes)
    { }
    qint64 limit;

    std::unique_ptr<QIODevice> through(QIODevice &target) override
    {
        return std::make_unique<CutOffDevice>(target, limit);
    }

private:
    zor::StandIn<zor::SaveDevice> m_inPlace{*this};
};

} // namespace zortest
