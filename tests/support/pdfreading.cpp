#include "tests/support/pdfreading.h"

#include "tests/support/testfiles.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace zortest {

QString toolOutput(const QString &tool, const QStringList &args)
{
    const Run r = run(tool, args, QProcessEnvironment::systemEnvironment(), {}, 60000);
    return r.finished && r.exitCode == 0 ? r.out : QString();
}

QString pdfText(const QString &path)
{
    return toolOutput(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

int pdfPageCount(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("Pages:\\s+([0-9]+)\\n"));
    const auto m = re.match(toolOutput(QStringLiteral("pdfinfo"), {path}));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QSizeF pdfPageSize(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const auto m = re.match(toolOutput(QStringLiteral("pdfinfo"), {path}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QList<PdfWord> pdfWords(const QString &path)
{
    const QString xml = toolOutput(QStringLiteral("pdftotext"),
                                   {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                    QStringLiteral("1"), path, QStringLiteral("-")});
    static const QRegularExpression re(QStringLiteral(
            "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<PdfWord> out;
    for (auto it = re.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        out << PdfWord{m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                       m.captured(3).toDouble(), m.captured(4).toDouble()};
    }
    return out;
}

PdfWord pdfWord(const QList<PdfWord> &words, const QString &text)
{
    for (const PdfWord &w : words)
        if (w.text == text)
            return w;
    return PdfWord{};
}

QList<PdfText> pdfTextsWithFonts(const QString &path)
{
    QXmlStreamReader xml(
            toolOutput(QStringLiteral("pdftohtml"),
                       {QStringLiteral("-xml"), QStringLiteral("-stdout"), QStringLiteral("-i"),
                        QStringLiteral("-q"), QStringLiteral("-zoom"), QStringLiteral("1"),
                        QStringLiteral("-l"), QStringLiteral("1"), path}));
    QHash<QString, PdfText> fonts; // by fontspec id
    QList<PdfText> out;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("fontspec")) {
            fonts.insert(a.value(QLatin1String("id")).toString(),
                         {QString(), a.value(QLatin1String("size")).toInt(),
                          a.value(QLatin1String("family")).toString()});
        } else if (xml.name() == QLatin1String("text")) {
            PdfText t = fonts.value(a.value(QLatin1String("font")).toString());
            t.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            out << t;
        }
    }
    return out;
}

} // namespace zortest
