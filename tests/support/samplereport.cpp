#include "tests/support/samplereport.h"

namespace zortest {

zor::Report sampleReport()
{
    zor::Report r = zor::Report::fresh();
    // Every text differs from the others, so a field printed or stored in
    // another's place shows.
    const char *const texts[zor::FieldCount] = {"Judo-Club Beispielhausen e.V.",
                                                "4711",
                                                "Xy7k",
                                                "Erika",
                                                "Mustermann",
                                                "Hauptstra\u00dfe 1",
                                                "12345",
                                                "Beispielhausen",
                                                "01234 567890",
                                                "-",
                                                "info@judo-beispielhausen.de",
                                                "Sporthalle am Park",
                                                "Parkweg 3",
                                                "12347",
                                                "Parkstadt",
                                                "www.judo-beispielhausen.de"};
    for (int i = 0; i < zor::FieldCount; ++i)
        r.texts[i] = QString::fromUtf8(texts[i]);
    const int counts[zor::AgeGroupCount][2] = {{1, 3},    {12, 9}, {0, 5}, {7, 0},
                                               {130, 20}, {4, 1},  {2, 1}};
    for (int g = 0; g < zor::AgeGroupCount; ++g)
        r.counts[g] = {QString::number(counts[g][0]), QString::number(counts[g][1])};
    r.masters = QStringList{QStringLiteral("Abe;Taro;3"), QString::fromUtf8("M\u00fcller;Hans;2"),
                            QStringLiteral("Zimmer;Anna;10")};
    return r;
}

zor::Report sampleReport(int masters)
{
    zor::Report r = sampleReport();
    r.masters.clear();
    r.masters.reserve(masters);
    for (int i = 1; i <= masters; ++i)
        r.masters << QString::fromUtf8("M\u00fcller%1;J\u00fcrgen;%2")
                             .arg(i, 6, 10, QLatin1Char('0'))
                             .arg(i % 10 + 1);
    return r;
}

} // namespace zortest
