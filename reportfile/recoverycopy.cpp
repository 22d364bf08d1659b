#include "reportfile/recoverycopy.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace zor {

namespace {

const QLatin1String FormatName("zor-quorvane-recovery");
constexpr int FormatVersion = 1;

// The strings of an array of `size` strings (any size when negative).
std::optional<QStringList> stringArray(const QJsonValue &v, qsizetype size)
{
    if (!v.isArray())
        return std::nullopt;
    const QJsonArray a = v.toArray();
    if (size >= 0 && a.size() != size)
        return std::nullopt;
    QStringList out;
    out.reserve(a.size());
    for (const QJsonValue &e : a) {
        // A lone surrogate could not be shown or written again.
        if (!e.isString() || !e.toString().isValidUtf16())
            return std::nullopt;
        out.append(e.toString());
    }
    return out;
}

} // namespace

QByteArray encodeRecovery(const RecoveryCopy &copy)
{
    QJsonArray fields;
    for (const QString &t : copy.report.texts)
        fields.append(t);
    QJsonArray counts;
    for (const auto &row : copy.report.counts)
        counts.append(QJsonArray{row[Men], row[Women]});
    QJsonObject known;
    if (copy.known.valid) {
        known.insert(QStringLiteral("size"), QString::number(copy.known.size));
        known.insert(QStringLiteral("mtimeNs"), QString::number(copy.known.mtimeNs));
        known.insert(QStringLiteral("sha256"), QString::fromLatin1(copy.known.hash.toHex()));
    }
    QJsonObject o;
    o.insert(QStringLiteral("format"), FormatName);
    o.insert(QStringLiteral("version"), FormatVersion);
    o.insert(QStringLiteral("made"), copy.made.toUTC().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("file"), copy.fileName);
    o.insert(QStringLiteral("known"), known);
    o.insert(QStringLiteral("fields"), fields);
    o.insert(QStringLiteral("counts"), counts);
    o.insert(QStringLiteral("masters"), QJsonArray::fromStringList(copy.report.masters));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

Result<RecoveryCopy> decodeRecovery(const QByteArray &bytes)
{
    const auto fail = [] {
        return Failure{
                QStringLiteral("Die Sicherungskopie ist besch\u00e4digt oder unvollst\u00e4ndig.")};
    };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject())
        return fail();
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != FormatName)
        return fail();
    if (o.value(QStringLiteral("version")).toInt() != FormatVersion)
        return Failure{
                QStringLiteral("Die Sicherungskopie stammt von einer anderen Programmversion.")};
    RecoveryCopy copy;
    copy.made = QDateTime::fromString(o.value(QStringLiteral("made")).toString(),
                                      Qt::ISODateWithMs);
    if (!copy.made.isValid() || copy.made.date().year() < 2000 || copy.made.date().year() > 9999
        || !o.value(QStringLiteral("file")).isString()
        || !o.value(QStringLiteral("file")).toString().isValidUtf16())
        return fail();
    copy.fileName = o.value(QStringLiteral("file")).toString();

    const std::optional<QStringList> fields = stringArray(o.value(QStringLiteral("fields")),
                                                          FieldCount);
    if (!fields)
        return fail();
    for (int i = 0; i < FieldCount; ++i)
        copy.report.texts[i] = fields->at(i);
    const QJsonValue counts = o.value(QStringLiteral("counts"));
    if (!counts.isArray() || counts.toArray().size() != AgeGroupCount)
        return fail();
    for (int g = 0; g < AgeGroupCount; ++g) {
        const std::optional<QStringList> row = stringArray(counts.toArray().at(g), 2);
        if (!row)
            return fail();
        copy.report.counts[g] = {row->at(0), row->at(1)};
    }
    std::optional<QStringList> masters = stringArray(o.value(QStringLiteral("masters")), -1);
    if (!masters)
        return fail();
    copy.report.masters = std::move(*masters);

    const QJsonObject known = o.value(QStringLiteral("known")).toObject();
    if (!known.isEmpty()) {
        bool sizeOk = false;
        bool timeOk = false;
        copy.known.size = known.value(QStringLiteral("size")).toString().toLongLong(&sizeOk);
        copy.known.mtimeNs = known.value(QStringLiteral("mtimeNs")).toString().toLongLong(&timeOk);
        copy.known.hash = QByteArray::fromHex(
                known.value(QStringLiteral("sha256")).toString().toLatin1());
        if (!sizeOk || !timeOk || copy.known.hash.size() != 32)
            return fail();
        copy.known.valid = true;
    }
    return copy;
}

} // namespace zor
