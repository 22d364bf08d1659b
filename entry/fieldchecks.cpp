#include "entry/fieldchecks.h"

#include "core/intconv.h"
#include "core/texts.h"

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

QString unstorableCharactersText(const QStringList &characters)
{
    // At most this many are named; a paste of a whole alphabet says so in short.
    constexpr int Named = 8;
    if (characters.isEmpty())
        return QString();
    QStringList named;
    for (const QString &c : characters.mid(0, Named)) {
        const char32_t code = c.size() == 2 && c.at(0).isHighSurrogate()
                                      ? QChar::surrogateToUcs4(c.at(0), c.at(1))
                                      : c.at(0).unicode();
        const QChar::Category kind = QChar::category(code);
        const bool visible = kind != QChar::Separator_Space && kind != QChar::Separator_Line
                             && kind != QChar::Separator_Paragraph && kind != QChar::Other_Control
                             && kind != QChar::Other_Format && kind != QChar::Other_Surrogate
                             && kind != QChar::Other_NotAssigned && kind != QChar::Mark_NonSpacing
                             && kind != QChar::Mark_SpacingCombining
                             && kind != QChar::Mark_Enclosing;
        named << (visible ? quoted(c)
                          : QStringLiteral("U+%1")
                                    .arg(uint(code), 4, 16, QLatin1Char('0'))
                                    .toUpper());
    }
    if (named.size() == 1)
        return QStringLiteral("Das Zeichen %1 kann im Bericht nicht gespeichert werden.")
                .arg(named.first());
    const QString last = characters.size() > Named ? QStringLiteral("weitere") : named.takeLast();
    return QStringLiteral("Die Zeichen %1 und %2 k\u00f6nnen im Bericht nicht gespeichert werden.")
            .arg(named.join(QStringLiteral(", ")), last);
}

} // namespace zor
