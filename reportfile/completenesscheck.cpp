#include "reportfile/completenesscheck.h"

#include "core/intconv.h"

namespace zor {

namespace {

// The club number reaches the association's systems as four digits; "0000"
// is the new report's placeholder, not a club.
bool isClubNumber(const QString &text)
{
    if (text.size() != 4)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return text != QLatin1String("0000");
}

} // namespace

CompletenessCheck checkCompleteness(const ReportTexts &texts, const QString &allSumCaption)
{
    CompletenessCheck r;
    for (int i = 0; i < FieldCount; ++i)
        r.texts[i] = trimControl(texts[i]);

    auto t = [&r](Field f) -> QString & { return r.texts[static_cast<int>(f)]; };
    auto fail = [&r](const char *line) { r.failures.append(QString::fromUtf8(line)); };
    auto dash = [&t](Field f) {
        if (t(f).isEmpty())
            t(f) = QStringLiteral("-");
    };

    if (t(Field::Vereinsname).size() < 5)
        fail("Vereinsname\n");
    if (!isClubNumber(t(Field::Nummer)))
        fail("Vereinsnummer\n");
    if (t(Field::Code).isEmpty())
        fail("Code\n");
    if (t(Field::AVName).isEmpty())
        fail("Vorname Ansprechpartner\n");
    if (t(Field::ANName).size() < 2)
        fail("Nachname Ansprechpartner\n");
    if (t(Field::Strasse).size() < 3)
        fail("Strasse Ansprechpartner\n");
    if (t(Field::Plz).size() < 5)
        fail("PLZ Ansprechpartner\n");
    if (t(Field::Ort).size() < 2)
        fail("Ort Ansprechpartner\n");
    if (t(Field::Tel).size() < 8)
        fail("Telefon Ansprechpartner\n");
    dash(Field::Fax);
    dash(Field::Email);
    dash(Field::DName);
    dash(Field::DStrasse);
    if (t(Field::DPlz).size() < 5) {
        fail("Seite Web/Dojo: PLZ \n");
        // Emptied so that the user types it again.
        t(Field::DPlz).clear();
    }
    dash(Field::DOrt);
    dash(Field::WebAdresse);
    // The total as its label shows it; the save has just recomputed it. A
    // caption that is no number cannot vouch for any members either.
    const auto total = parseInt64(allSumCaption);
    if (!total || *total == 0)
        fail("Seite Mitglieder: Mitgliederzahl=0 \n");

    if (!r.failures.isEmpty()) {
        r.message = QString::fromUtf8(
                            "Unvollst\u00e4ndige oder falsche Eingabe in folgenden Feldern:\n")
                    + r.failures.join(QString())
                    + QStringLiteral("\n\n   Es kann noch nicht gespeichert werden !  \n\n");
    }
    return r;
}

} // namespace zor
