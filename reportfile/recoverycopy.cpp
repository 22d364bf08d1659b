#include "reportfile/recoverycopy.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zor {

namespace {

const QLatin1String FormatName("zor-quorvane-recovery");
constexpr int FormatVersion = 1;

bool stringArray(const QJsonValue &v, qsizetype size, QStringList *out)
{
    if (!v.isArray())
        return false;
    const QJsonArray a = v.toArray();
    if (size >= 0 && a.size() != size)
        return false;
    out->clear();
    out->reserve(a.size());
    for (const QJsonValue &e : a) {
        // A lone surrogate could not be shown or written again.
        if (!e.isString() || !e.toString().isValidUtf16())
            return false;
        out->append(e.toString());
    }
    return true;
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

bool decodeRecovery(const QByteArray &bytes, RecoveryCopy *out, QString *error)
{
    const auto fail = [error] {
        if (error)
            *error = QStringLiteral(
                    "Die Sicherungskopie ist besch\u00e4digt oder unvollst\u00e4ndig.");
        return false;
    };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject())
        return fail();
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != FormatName)
        return fail();
    if (o.value(QStringLiteral("version")).toInt() != FormatVersion) {
        if (error)
            *error = QStringLiteral(
                    "Die Sicherungskopie stammt von einer anderen Programmversion.");
        return false;
    }
    RecoveryCopy copy;
    copy.made = QDateTime::fromString(o.value(QStringLiteral("made")).toString(),
                                      Qt::ISODateWithMs);
    if (!copy.made.isValid() || copy.made.date().year() < 2000 || copy.made.date().year() > 9999
        || !o.value(QStringLiteral("file")).isString()
        || !o.value(QStringLiteral("file")).toString().isValidUtf16())
        return fail();
    copy.fileName = o.value(QStringLiteral("file")).toString();

    QStringList fields;
    if (!stringArray(o.value(QStringLiteral("fields")), FieldCount, &fields))
        return fail();
    for (int i = 0; i < FieldCount; ++i)
        copy.report.texts[i] = fields[i];
    const QJsonValue counts = o.value(QStringLiteral("counts"));
    if (!counts.isArray() || counts.toArray().size() != AgeGroupCount)
        return fail();
    for (int g = 0; g < AgeGroupCount; ++g) {
        QStringList row;
        if (!stringArray(counts.toArray().at(g), 2, &row))
            return fail();
        copy.report.counts[g] = {row[0], row[1]};
    }
    if (!stringArray(o.value(QStringLiteral("masters")), -1, &copy.report.masters))
        return fail();

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
    *out = std::move(copy);
    return true;
}

} // namespace zor
