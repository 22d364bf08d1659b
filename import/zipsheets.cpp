#include "import/zipsheets.h"

#include <QBuffer>
#include <QHash>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <cmath>
#include <memory>
#include <optional>

namespace zor {

namespace {

QString damaged()
{
    return QStringLiteral("Die Datei ist besch\u00e4digt oder unvollst\u00e4ndig und kann nicht "
                          "gelesen werden. Bitte speichern Sie die Mitgliederliste in Ihrem "
                          "Programm noch einmal.");
}

QString encrypted()
{
    return passwordProtected();
}

QString tooBig()
{
    return QStringLiteral("Die Datei enth\u00e4lt mehr Daten, als eine Mitgliederliste haben "
                          "kann (ausgepackt \u00fcber %1 MB), und wird nicht gelesen.")
            .arg(MaxUnpackedPartBytes / (1024 * 1024));
}

QString tooManyRows()
{
    return QStringLiteral("Die Tabelle hat mehr als %1 Zeilen.").arg(MaxListRows);
}

QString notASheet(const QString &kind)
{
    return QStringLiteral("Die Datei ist keine %1-Tabelle, die dieses Programm lesen kann.")
            .arg(kind);
}

// The archive of a spreadsheet, its parts found by name without regard to case.
class Archive
{
public:
    explicit Archive(const QByteArray &bytes)
        : m_bytes(bytes)
        , m_buffer(&m_bytes)
    {
        m_zip = std::make_unique<QuaZip>(&m_buffer);
        m_open = m_zip->open(QuaZip::mdUnzip);
        if (m_open) {
            const QStringList names = m_zip->getFileNameList();
            for (const QString &n : names)
                m_names.insert(n.toLower(), n);
        }
    }

    bool isOpen() const { return m_open; }
    bool has(const QString &name) const { return m_names.contains(name.toLower()); }

    // The unpacked part. A part the archive lacks fails with `missing`; one
    // that is there but cannot be read says why.
    Result<QByteArray> read(const QString &name, const QString &missing)
    {
        const auto it = m_names.constFind(name.toLower());
        if (it == m_names.cend())
            return Failure{missing};
        if (!m_zip->setCurrentFile(*it, QuaZip::csSensitive))
            return Failure{damaged()};
        QuaZipFileInfo64 info;
        if (!m_zip->getCurrentFileInfo(&info))
            return Failure{damaged()};
        if (info.flags & 1)
            return Failure{encrypted()};
        if (info.uncompressedSize > quint64(MaxUnpackedPartBytes))
            return Failure{tooBig()};
        QuaZipFile file(m_zip.get());
        if (!file.open(QIODevice::ReadOnly))
            return Failure{damaged()};
        QByteArray out;
        // The size in the directory is only a hint: a lie must not reserve much.
        out.reserve(qsizetype(std::min<quint64>(info.uncompressedSize, 16u << 20)));
        char chunk[65536];
        for (;;) {
            const qint64 n = file.read(chunk, sizeof chunk);
            if (n < 0)
                return Failure{damaged()};
            if (n == 0)
                break;
            // The size in the directory may lie; the bound holds for what really comes out.
            if (out.size() + n > MaxUnpackedPartBytes)
                return Failure{tooBig()};
            out.append(chunk, qsizetype(n));
        }
        file.close();
        if (file.getZipError() != UNZ_OK)
            return Failure{damaged()};
        return out;
    }

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QuaZip> m_zip;
    bool m_open = false;
    QHash<QString, QString> m_names;
};

// Entity declarations are where XML expansion attacks live; spreadsheets
// never carry a DTD, so a part with one is refused.
bool refuseDtd(QXmlStreamReader &xml)
{
    return xml.tokenType() == QXmlStreamReader::DTD
           || xml.tokenType() == QXmlStreamReader::EntityReference;
}

QString attr(const QXmlStreamReader &xml, QLatin1StringView name)
{
    for (const QXmlStreamAttribute &a : xml.attributes()) {
        if (a.name() == name)
            return a.value().toString();
    }
    return QString();
}

// The r:id of a sheet, whatever the prefix or namespace of the relationships.
QString relId(const QXmlStreamReader &xml)
{
    for (const QXmlStreamAttribute &a : xml.attributes()) {
        if (a.name() == QLatin1StringView("id") && !a.namespaceUri().isEmpty())
            return a.value().toString();
    }
    return QString();
}

// A part name from a relationship target: absolute ("/xl/...") or relative
// to the folder of the part that names it; "." and ".." resolved.
QString resolvePart(const QString &baseFolder, const QString &target)
{
    QString t = target;
    const int hash = t.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        t.truncate(hash);
    QStringList parts;
    if (!t.startsWith(QLatin1Char('/')))
        parts = baseFolder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &p : t.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (p == QLatin1StringView(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (p != QLatin1StringView("."))
            parts << p;
    }
    return parts.join(QLatin1Char('/'));
}

QString folderOf(const QString &part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash);
}

struct Relationship
{
    QString type; // the last segment of the type URI, e.g. "worksheet"
    QString part;
};

QHash<QString, Relationship> readRels(const QByteArray &xmlBytes, const QString &baseFolder)
{
    QHash<QString, Relationship> rels;
    QXmlStreamReader xml(xmlBytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            return {};
        if (xml.isStartElement() && xml.name() == QLatin1StringView("Relationship")) {
            if (attr(xml, QLatin1StringView("TargetMode")) == QLatin1StringView("External"))
                continue;
            const QString type = attr(xml, QLatin1StringView("Type"));
            rels.insert(
                    attr(xml, QLatin1StringView("Id")),
                    Relationship{type.mid(type.lastIndexOf(QLatin1Char('/')) + 1),
                                 resolvePart(baseFolder, attr(xml, QLatin1StringView("Target")))});
        }
    }
    return rels;
}

QString relsPartOf(const QString &part)
{
    const QString folder = folderOf(part);
    const QString file = part.mid(folder.isEmpty() ? 0 : folder.size() + 1);
    return (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/")
           + file + QStringLiteral(".rels");
}

// Text of the element the reader stands on, with runs (<r><t>) joined and
// phonetic hints (<rPh>) left out.
QString readStringItem(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    bool inPhonetic = false;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == QLatin1StringView("rPh"))
                inPhonetic = true;
        } else if (xml.isEndElement()) {
            --depth;
            if (xml.name() == QLatin1StringView("rPh"))
                inPhonetic = false;
        } else if (xml.isCharacters() && !inPhonetic) {
            text += xml.text();
        }
    }
    return text;
}

// A number format shows a date when, outside quotes, escapes and brackets,
// it holds nothing but date and time letters and names a day or a year:
// "DD.MM.YY", "yyyy-mm-dd hh:mm", German "TT.MM.JJJJ". A word such as
// "General" or "Standard" holds other letters and is no date; "mm:ss" names
// no day.
bool isDateFormatCode(const QString &code)
{
    bool quoted = false;
    int bracket = 0;
    bool day = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*'))
            ++i;
        else if (c == QLatin1Char('['))
            ++bracket;
        else if (c == QLatin1Char(']'))
            bracket = std::max(0, bracket - 1);
        else if (bracket == 0 && c.isLetter()) {
            const QChar l = c.toLower();
            if (l == QLatin1Char('d') || l == QLatin1Char('y') || l == QLatin1Char('t')
                || l == QLatin1Char('j'))
                day = true;
            else if (!QStringView(u"mhsbeapg").contains(l)) // months, times, eras, AM/PM
                return false;
        }
    }
    return day;
}

bool isBuiltinDateFormat(int id)
{
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

// Per cell style index: whether it shows a date.
QList<bool> readDateStyles(const QByteArray &bytes)
{
    QHash<int, bool> custom;
    QList<bool> styles;
    QXmlStreamReader xml(bytes);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            return {};
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1StringView("numFmt")) {
                custom.insert(attr(xml, QLatin1StringView("numFmtId")).toInt(),
                              isDateFormatCode(attr(xml, QLatin1StringView("formatCode"))));
            } else if (xml.name() == QLatin1StringView("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1StringView("xf")) {
                const int id = attr(xml, QLatin1StringView("numFmtId")).toInt();
                styles << (custom.contains(id) ? custom.value(id) : isBuiltinDateFormat(id));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1StringView("cellXfs")) {
            inCellXfs = false;
        }
    }
    return styles;
}

// "BC12" -> column 54 (0-based); none when the reference has no letters.
std::optional<int> columnOfRef(QStringView ref)
{
    int col = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) {
        const char16_t u = ref[i].toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return std::nullopt;
        col = col * 26 + (u - u'A' + 1);
        if (col > MaxListColumns + 1)
            return MaxListColumns;
    }
    if (i == 0)
        return std::nullopt;
    return col - 1;
}

void putCell(QList<ListCell> &cells, int col, ListCell &&cell)
{
    if (col < 0 || col >= MaxListColumns || cell.isBlank())
        return;
    if (cells.size() <= col)
        cells.resize(col + 1);
    cells[col] = std::move(cell);
}

struct XlsxContext
{
    QStringList shared;
    QList<bool> dateStyles;
    bool date1904 = false;
};

ListCell xlsxCell(const QString &type, const QString &value, const QString &inlineText, int style,
                  const XlsxContext &ctx)
{
    if (type == QLatin1StringView("s")) {
        bool ok = false;
        const int i = value.toInt(&ok);
        return ok && i >= 0 && i < ctx.shared.size() ? ListCell::fromText(ctx.shared[i])
                                                     : ListCell();
    }
    if (type == QLatin1StringView("inlineStr"))
        return ListCell::fromText(inlineText);
    if (type == QLatin1StringView("str") || type == QLatin1StringView("e"))
        return ListCell::fromText(value);
    if (type == QLatin1StringView("d")) {
        const QDate d = QDate::fromString(value.left(10), Qt::ISODate);
        return d.isValid() ? ListCell::fromDate(d) : ListCell::fromText(value);
    }
    if (value.isEmpty())
        return ListCell();
    bool ok = false;
    const double n = value.toDouble(&ok);
    if (!ok)
        return ListCell::fromText(value);
    if (style >= 0 && style < ctx.dateStyles.size() && ctx.dateStyles[style]) {
        const QDate d = dateFromSerial(n, ctx.date1904);
        if (d.isValid())
            return ListCell::fromDate(d);
    }
    return ListCell::fromNumber(n);
}

bool isTrue(const QString &v)
{
    return v == QLatin1StringView("1") || v == QLatin1StringView("true");
}

// How far through the sheets' XML the reading is, for the progress hook.
struct SheetProgress
{
    const ProgressHook *hook = nullptr;
    double start = 0; // of the whole, where this sheet begins
    double share = 1; // of the whole, this sheet's part

    bool tell(const QXmlStreamReader &xml, qsizetype size) const
    {
        if (!hook || !*hook)
            return true;
        const double local = size > 0 ? double(xml.characterOffset()) / double(size) : 0;
        return (*hook)(start + share * std::clamp(local, 0.0, 1.0));
    }
};

Result<void> readWorksheet(const QByteArray &bytes, const XlsxContext &ctx, MemberSheet &sheet,
                           const SheetProgress &progress)
{
    QXmlStreamReader xml(bytes);
    int rowNumber = 0;
    QList<ListCell> cells;
    bool inRow = false;
    bool rowHidden = false;
    int col = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            return Failure{notASheet(QStringLiteral("Excel"))};
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == QLatin1StringView("row")) {
                bool ok = false;
                const int r = attr(xml, QLatin1StringView("r")).toInt(&ok);
                rowNumber = ok && r > rowNumber ? r : rowNumber + 1;
                if (rowNumber > MaxListRows)
                    return Failure{tooManyRows()};
                if (rowNumber % 1024 == 0 && !progress.tell(xml, bytes.size()))
                    return Failure{stoppedByUser()};
                cells.clear();
                inRow = true;
                rowHidden = isTrue(attr(xml, QLatin1StringView("hidden")));
                col = -1;
            } else if (name == QLatin1StringView("col")) {
                // <cols><col min="2" max="3" hidden="1"/>: columns B and C hidden.
                if (isTrue(attr(xml, QLatin1StringView("hidden")))) {
                    const int from = std::max(1, attr(xml, QLatin1StringView("min")).toInt());
                    const int to = std::min(MaxListColumns,
                                            attr(xml, QLatin1StringView("max")).toInt());
                    for (int c = from; c <= to; ++c) {
                        if (!sheet.columnHidden(c - 1))
                            sheet.hiddenColumns.insert(std::lower_bound(sheet.hiddenColumns.begin(),
                                                                        sheet.hiddenColumns.end(),
                                                                        c - 1),
                                                       c - 1);
                    }
                }
            } else if (inRow && name == QLatin1StringView("c")) {
                const QString ref = attr(xml, QLatin1StringView("r"));
                col = columnOfRef(ref).value_or(col + 1);
                const QString type = attr(xml, QLatin1StringView("t"));
                const int style = attr(xml, QLatin1StringView("s")).toInt();
                QString value, inlineText, formula;
                bool hasValue = false, hasFormula = false;
                int depth = 1;
                while (depth > 0 && !xml.atEnd()) {
                    xml.readNext();
                    if (xml.isStartElement()) {
                        if (xml.name() == QLatin1StringView("v")) {
                            value = xml.readElementText(QXmlStreamReader::SkipChildElements);
                            hasValue = true;
                        } else if (xml.name() == QLatin1StringView("f")) {
                            formula = xml.readElementText(QXmlStreamReader::SkipChildElements);
                            hasFormula = true;
                        } else if (xml.name() == QLatin1StringView("is")) {
                            inlineText = readStringItem(xml);
                        } else {
                            ++depth;
                        }
                    } else if (xml.isEndElement()) {
                        --depth;
                    }
                }
                // A formula with no result in the file: written by a program that
                // computes nothing. An empty text result says t="str".
                if (hasFormula && (!hasValue || (value.isEmpty() && type != u"str")))
                    putCell(cells, col, ListCell::fromFormula(QLatin1Char('=') + formula));
                else
                    putCell(cells, col, xlsxCell(type, value, inlineText, style, ctx));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1StringView("row")) {
            inRow = false;
            if (!addListRow(sheet, rowNumber, std::move(cells), rowHidden))
                return Failure{tooManyRows()};
            cells.clear();
        }
    }
    if (xml.hasError())
        return Failure{damaged()};
    return {};
}

} // namespace

QDate dateFromSerial(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 1 || serial >= 2958466)
        return QDate();
    const qint64 days = qint64(std::floor(serial));
    if (date1904)
        return QDate(1904, 1, 1).addDays(days);
    // The 1900 system counts a 29 February 1900 that never was.
    if (days == 60)
        return QDate();
    return days < 60 ? QDate(1899, 12, 31).addDays(days) : QDate(1899, 12, 30).addDays(days);
}

Result<MemberBook> readXlsx(const QByteArray &bytes, const ProgressHook &progress)
{
    Archive zip(bytes);
    if (!zip.isOpen())
        return Failure{damaged()};
    const QString notExcel = notASheet(QStringLiteral("Excel"));

    // The workbook is named by the package's relationships; older writers are
    // found at the usual place.
    QString workbook = QStringLiteral("xl/workbook.xml");
    if (zip.has(QStringLiteral("_rels/.rels"))) {
        const Result<QByteArray> packageRels = zip.read(QStringLiteral("_rels/.rels"), damaged());
        if (!packageRels)
            return packageRels.failure();
        for (const Relationship &r : readRels(*packageRels, QString())) {
            if (r.type == QLatin1StringView("officeDocument"))
                workbook = r.part;
        }
    }
    const Result<QByteArray> workbookPart = zip.read(workbook, notExcel);
    if (!workbookPart)
        return workbookPart.failure();

    XlsxContext ctx;
    struct SheetRef
    {
        QString name;
        QString rid;
    };
    QList<SheetRef> refs;
    {
        QXmlStreamReader xml(*workbookPart);
        while (!xml.atEnd()) {
            xml.readNext();
            if (refuseDtd(xml))
                return Failure{notExcel};
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1StringView("workbookPr")) {
                const QString v = attr(xml, QLatin1StringView("date1904"));
                ctx.date1904 = v == QLatin1StringView("1") || v == QLatin1StringView("true");
            } else if (xml.name() == QLatin1StringView("sheet")) {
                refs << SheetRef{attr(xml, QLatin1StringView("name")), relId(xml)};
            }
        }
        if (xml.hasError())
            return Failure{damaged()};
    }

    QHash<QString, Relationship> rels;
    const QString base = folderOf(workbook);
    if (zip.has(relsPartOf(workbook))) {
        const Result<QByteArray> workbookRels = zip.read(relsPartOf(workbook), damaged());
        if (!workbookRels)
            return workbookRels.failure();
        rels = readRels(*workbookRels, base);
    }

    // A part that a relationship names but the archive lacks is read as
    // empty, as spreadsheet programs do (R's openxlsx names shared strings
    // it never wrote); a part that is there but broken is not.
    for (const Relationship &r : std::as_const(rels)) {
        if (r.type == QLatin1StringView("sharedStrings")) {
            if (!zip.has(r.part))
                continue;
            const Result<QByteArray> strings = zip.read(r.part, damaged());
            if (!strings)
                return strings.failure();
            QXmlStreamReader xml(*strings);
            while (!xml.atEnd()) {
                xml.readNext();
                if (refuseDtd(xml))
                    return Failure{notExcel};
                if (xml.isStartElement() && xml.name() == QLatin1StringView("si"))
                    ctx.shared << readStringItem(xml);
            }
            if (xml.hasError())
                return Failure{damaged()};
        } else if (r.type == QLatin1StringView("styles")) {
            if (!zip.has(r.part))
                continue;
            const Result<QByteArray> styles = zip.read(r.part, damaged());
            if (!styles)
                return styles.failure();
            ctx.dateStyles = readDateStyles(*styles);
        }
    }

    MemberBook book;
    for (int i = 0; i < refs.size(); ++i) {
        QString sheetPart;
        const auto it = rels.constFind(refs[i].rid);
        if (it != rels.cend()) {
            if (it->type != QLatin1StringView("worksheet"))
                continue; // a chart sheet holds no members
            sheetPart = it->part;
        } else {
            sheetPart = base + QStringLiteral("/worksheets/sheet%1.xml").arg(i + 1);
        }
        MemberSheet sheet;
        sheet.name = refs[i].name;
        if (zip.has(sheetPart)) {
            const Result<QByteArray> sheetXml = zip.read(sheetPart, damaged());
            if (!sheetXml)
                return sheetXml.failure();
            const SheetProgress sheetProgress{&progress, double(i) / double(refs.size()),
                                              1.0 / double(refs.size())};
            if (const Result<void> read = readWorksheet(*sheetXml, ctx, sheet, sheetProgress);
                !read)
                return read.failure();
        }
        book.sheets << std::move(sheet);
    }
    if (book.sheets.isEmpty())
        return Failure{notExcel};
    return book;
}

bool looksLikeOds(const QByteArray &bytes)
{
    // An OpenDocument file names its kind in "mimetype"; an Excel workbook
    // has "[Content_Types].xml" instead.
    const Archive zip(bytes);
    return zip.isOpen() && zip.has(QStringLiteral("content.xml"))
           && !zip.has(QStringLiteral("[Content_Types].xml"));
}

namespace {

// The text of a table cell: its paragraphs one per line, text:s as blanks.
QString odsCellText(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    int paragraphs = 0;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            const QStringView n = xml.name();
            if (n == QLatin1StringView("p")) {
                if (paragraphs++ > 0)
                    text += QLatin1Char('\n');
            } else if (n == QLatin1StringView("s")) {
                bool ok = false;
                const int c = attr(xml, QLatin1StringView("c")).toInt(&ok);
                text += QString(ok ? std::clamp(c, 1, 1000) : 1, QLatin1Char(' '));
            } else if (n == QLatin1StringView("tab")) {
                text += QLatin1Char('\t');
            } else if (n == QLatin1StringView("line-break")) {
                text += QLatin1Char('\n');
            } else if (n == QLatin1StringView("annotation")) {
                xml.skipCurrentElement(); // a comment is not the cell's value
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
        } else if (xml.isCharacters()) {
            text += xml.text();
        }
    }
    return text;
}

// table:visibility="collapse" (hidden) or "filter" (filtered out).
bool isHiddenInOds(const QXmlStreamReader &xml)
{
    const QString v = attr(xml, QLatin1StringView("visibility"));
    return v == QLatin1StringView("collapse") || v == QLatin1StringView("filter");
}

int repeatCount(const QXmlStreamReader &xml, QLatin1StringView name)
{
    bool ok = false;
    const int n = attr(xml, name).toInt(&ok);
    return ok && n > 0 ? n : 1;
}

} // namespace

Result<MemberBook> readOds(const QByteArray &bytes, const ProgressHook &progress)
{
    Archive zip(bytes);
    if (!zip.isOpen())
        return Failure{damaged()};
    const QString notOds = notASheet(QStringLiteral("LibreOffice"));
    // With a password the parts are encrypted inside an ordinary zip; the
    // manifest says so.
    if (zip.has(QStringLiteral("META-INF/manifest.xml"))) {
        const Result<QByteArray> manifest = zip.read(QStringLiteral("META-INF/manifest.xml"),
                                                     damaged());
        if (!manifest)
            return manifest.failure();
        if (manifest->contains("encryption-data"))
            return Failure{encrypted()};
    }
    const Result<QByteArray> content = zip.read(QStringLiteral("content.xml"), notOds);
    if (!content)
        return content.failure();
    const QByteArray &part = *content;

    MemberBook book;
    QXmlStreamReader xml(part);
    MemberSheet *sheet = nullptr;
    int rowNumber = 0;
    int columnNumber = 0;
    int rowsSeen = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            return Failure{notOds};
        if (xml.isStartElement()) {
            const QStringView n = xml.name();
            if (n == QLatin1StringView("table") && xml.namespaceUri().endsWith(u":table:1.0")) {
                book.sheets.append(MemberSheet{});
                sheet = &book.sheets.last();
                sheet->name = attr(xml, QLatin1StringView("name"));
                rowNumber = 0;
                columnNumber = 0;
            } else if (sheet && n == QLatin1StringView("table-column")) {
                const int span = repeatCount(xml, QLatin1StringView("number-columns-repeated"));
                const bool hidden = isHiddenInOds(xml);
                for (int k = 0; k < span && columnNumber < MaxListColumns; ++k, ++columnNumber) {
                    if (hidden)
                        sheet->hiddenColumns << columnNumber;
                }
            } else if (sheet && n == QLatin1StringView("table-row")) {
                if (++rowsSeen % 1024 == 0 && progress
                    && !progress(double(xml.characterOffset()) / double(part.size())))
                    return Failure{stoppedByUser()};
                const int repeat = repeatCount(xml, QLatin1StringView("number-rows-repeated"));
                const bool rowHidden = isHiddenInOds(xml);
                QList<ListCell> cells;
                int col = 0;
                int depth = 1;
                while (depth > 0 && !xml.atEnd()) {
                    xml.readNext();
                    if (xml.isStartElement()) {
                        const QStringView cn = xml.name();
                        if (cn == QLatin1StringView("table-cell")
                            || cn == QLatin1StringView("covered-table-cell")) {
                            const int span = repeatCount(
                                    xml, QLatin1StringView("number-columns-repeated"));
                            const QString type = attr(xml, QLatin1StringView("value-type"));
                            const QString formula = attr(xml, QLatin1StringView("formula"));
                            ListCell cell;
                            if (type.isEmpty() && !formula.isEmpty()) {
                                // A formula whose result was never stored.
                                odsCellText(xml);
                                cell = ListCell::fromFormula(formula);
                            } else if (type == QLatin1StringView("date")) {
                                const QString v = attr(xml, QLatin1StringView("date-value"));
                                const QDate d = QDate::fromString(v.left(10), Qt::ISODate);
                                cell = d.isValid() ? ListCell::fromDate(d) : ListCell::fromText(v);
                                odsCellText(xml);
                            } else if (type == QLatin1StringView("float")
                                       || type == QLatin1StringView("percentage")
                                       || type == QLatin1StringView("currency")) {
                                bool ok = false;
                                const double v
                                        = attr(xml, QLatin1StringView("value")).toDouble(&ok);
                                const QString shown = odsCellText(xml);
                                cell = ok ? ListCell::fromNumber(v) : ListCell::fromText(shown);
                            } else {
                                cell = ListCell::fromText(odsCellText(xml));
                            }
                            if (!cell.isBlank()) {
                                for (int k = 0; k < span && col + k < MaxListColumns; ++k)
                                    putCell(cells, col + k, ListCell(cell));
                            }
                            col = int(std::min<qint64>(qint64(col) + span, MaxListColumns));
                        } else {
                            ++depth;
                        }
                    } else if (xml.isEndElement()) {
                        --depth;
                    }
                }
                // Only rows that hold something are repeated; the empty rows a
                // sheet ends with are only counted past.
                const bool blank = std::all_of(cells.cbegin(), cells.cend(),
                                               [](const ListCell &c) { return c.isBlank(); });
                if (blank) {
                    rowNumber = int(std::min<qint64>(qint64(rowNumber) + repeat, MaxListRows));
                    continue;
                }
                for (int k = 0; k < repeat; ++k) {
                    if (rowNumber >= MaxListRows
                        || !addListRow(*sheet, ++rowNumber, QList<ListCell>(cells), rowHidden))
                        return Failure{tooManyRows()};
                }
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1StringView("table")
                   && xml.namespaceUri().endsWith(u":table:1.0")) {
            sheet = nullptr;
        }
    }
    if (xml.hasError())
        return Failure{damaged()};
    if (book.sheets.isEmpty())
        return Failure{notOds};
    return book;
}

} // namespace zor
