#include "core/texts.h"

#include <QDir>

namespace zor {

QString programName()
{
    return QStringLiteral("ZOR-Quorvane");
}

QString quoted(const QString &text)
{
    return QChar(u'\u201e') + text + QChar(u'\u201c');
}

QString quotedPath(const QString &path)
{
    return quoted(QDir::toNativeSeparators(path));
}

} // namespace zor
