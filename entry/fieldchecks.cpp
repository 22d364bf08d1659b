#include "entry/fieldchecks.h"

#include "reportfile/intconv.h"

namespace zor {

bool isAcceptableEmail(const QString &address)
{
    if (!address.contains(QLatin1Char('@')))
        return false;
    static const char *const endings[] = {".de", ".com",  ".org", ".ch",
                                          ".fr", ".info", ".us",  ".at"};
    for (const char *e : endings) {
        if (address.contains(QLatin1String(e), Qt::CaseSensitive))
            return true;
    }
    return false;
}

QString emailHintCaption()
{
    return QStringLiteral("Hinweis zur E-Mail-Adresse:");
}

QString emailHintText()
{
    return QStringLiteral(
                   "Wenn hier eine Adresse eingegeben wird, muss die Eingabe in dieser Form erfolgen:")
           + QStringLiteral("\n\n") + QStringLiteral("  ")
           + QStringLiteral("vorstand@judoclub-musterstadt.de") + QStringLiteral("\n\n")
           + QStringLiteral("!!! Punkt.de !!! nicht vergessen!");
}

bool clubNumberNeedsHint(const QString &text)
{
    if (text.size() != 4)
        return false;
    for (QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    const auto v = parseInt32(text);
    return v && *v <= 0;
}

QString clubNumberHintCaption()
{
    return QString::fromUtf8("Eingabepr\u00fcfung: Fehler");
}

QString clubNumberHintText()
{
    return QStringLiteral(
            "\n\n   Bitte Vereinsnummer 4-stellig also in der Form :\n\n   1214 bzw: 0135 eingeben !\n\n");
}

} // namespace zor
