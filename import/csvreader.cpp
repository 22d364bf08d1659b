#include "import/csvreader.h"

#include "core/cp1252.h"

#include <QStringDecoder>

#include <csv.h>

namespace zor {

namespace {

struct Collector
{
    MemberSheet sheet;
    QList<ListCell> cells;
    int record = 0;
    int lastEnd = 0;     // the character that ended the last record
    qsizetype width = 0; // cells of the widest row so far, reserved for the next
    bool full = false;
};

void onField(void *data, size_t len, void *ctx)
{
    auto *c = static_cast<Collector *>(ctx);
    if (c->cells.size() < MaxListColumns)
        c->cells.append(ListCell::fromText(
                QString::fromUtf8(static_cast<const char *>(data), qsizetype(len))));
}

void onRecord(int end, void *ctx)
{
    auto *c = static_cast<Collector *>(ctx);
    // Every line end is reported, so that an empty line keeps its number as
    // a spreadsheet program shows it; the LF of a CR LF pair is no line.
    const bool pairsCr = end == CSV_LF && c->lastEnd == CSV_CR && c->cells.isEmpty();
    c->lastEnd = end;
    if (pairsCr) {
        c->lastEnd = 0;
        return;
    }
    ++c->record;
    c->width = std::max(c->width, c->cells.size());
    if (!addListRow(c->sheet, c->record, std::move(c->cells)))
        c->full = true;
    c->cells = QList<ListCell>();
    c->cells.reserve(c->width);
}

// Only the blank is trimmed around unquoted fields: a tab may be the separator.
int isBlank(unsigned char c)
{
    return c == CSV_SPACE;
}

int isLineEnd(unsigned char c)
{
    return c == CSV_CR || c == CSV_LF;
}

// The separator is the one of ";", tab and "," that the first records hold
// most often outside quotes; ";" wins a tie, as German Excel writes it.
// Several records, not the first line only: a title may stand above the
// header ("Mitgliederliste TSV Musterstadt, Stand ...") and hold a comma.
char detectSeparator(const QByteArray &text)
{
    constexpr int Records = 20;
    int semicolons = 0, tabs = 0, commas = 0;
    int records = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size() && records < Records; ++i) {
        const char ch = text[i];
        if (ch == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (ch == '\n' || ch == '\r')
            ++records; // a CR LF pair counts twice: only the bound depends on it
        else if (ch == ';')
            ++semicolons;
        else if (ch == '\t')
            ++tabs;
        else if (ch == ',')
            ++commas;
    }
    if (semicolons >= tabs && semicolons >= commas)
        return ';';
    return tabs >= commas ? '\t' : ',';
}

QString notText()
{
    return QStringLiteral("Die Datei ist keine Tabelle, die dieses Programm lesen kann: Sie "
                          "enth\u00e4lt Zeichen, die in einer CSV-Datei nicht vorkommen. Bitte "
                          "speichern Sie die Mitgliederliste als CSV-, Excel- (.xlsx) oder "
                          "LibreOffice-Datei (.ods).");
}

} // namespace

Result<CsvRead> readCsv(const QByteArray &bytes, const ProgressHook &progress)
{
    CsvDialect dialect;
    QByteArray utf8;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        utf8 = bytes.mid(3);
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        dialect.encoding = CsvDialect::Utf16;
        QStringDecoder decode(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                           : QStringConverter::Utf16BE);
        const QString text = decode(bytes.mid(2));
        if (decode.hasError())
            return Failure{notText()};
        utf8 = text.toUtf8();
    } else {
        QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = decode(bytes);
        if (decode.hasError()) {
            dialect.encoding = CsvDialect::Windows1252;
            utf8 = cp1252::decode(bytes).toUtf8();
        } else {
            utf8 = bytes;
        }
    }
    // A NUL never stands in a text file: this is some other kind of file.
    if (utf8.contains('\0'))
        return Failure{notText()};

    // Excel may put "sep=;" before the header to name the separator.
    if (utf8.startsWith("sep=") && utf8.size() >= 5
        && (utf8.size() == 5 || utf8[5] == '\r' || utf8[5] == '\n')) {
        dialect.separator = utf8[4];
        qsizetype end = 5;
        while (end < utf8.size() && (utf8[end] == '\r' || utf8[end] == '\n'))
            ++end;
        utf8.remove(0, end);
    } else {
        dialect.separator = detectSeparator(utf8);
    }

    csv_parser parser;
    if (csv_init(&parser, CSV_REPALL_NL) != 0)
        return Failure{QStringLiteral("Nicht genug Speicher, um die Datei zu lesen.")};
    csv_set_delim(&parser, static_cast<unsigned char>(dialect.separator));
    csv_set_space_func(&parser, isBlank);
    csv_set_term_func(&parser, isLineEnd);
    Collector collector;
    collector.sheet.name = QStringLiteral("CSV");
    // In pieces, so that a long list can tell how far it is and be stopped.
    constexpr qsizetype Piece = 1 << 20;
    bool stopped = false;
    bool parsedAll = true;
    for (qsizetype at = 0; at < utf8.size() && !collector.full; at += Piece) {
        if (progress && !progress(double(at) / double(utf8.size()))) {
            stopped = true;
            break;
        }
        const size_t len = size_t(std::min(Piece, utf8.size() - at));
        if (csv_parse(&parser, utf8.constData() + at, len, onField, onRecord, &collector) != len) {
            parsedAll = false;
            break;
        }
    }
    csv_fini(&parser, onField, onRecord, &collector);
    csv_free(&parser);
    if (stopped)
        return Failure{stoppedByUser()};
    if (!parsedAll)
        return Failure{QStringLiteral("Die CSV-Datei konnte nicht gelesen werden.")};
    if (collector.full)
        return Failure{
                QStringLiteral("Die Liste hat mehr als %1 Zeilen; so viele kann dieses Programm "
                               "nicht \u00fcbernehmen.")
                        .arg(MaxListRows)};
    return CsvRead{std::move(collector.sheet), dialect};
}

} // namespace zor
