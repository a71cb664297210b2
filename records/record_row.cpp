#include "records/record_row.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaType>

namespace records {
namespace {

enum Column {
    Station, Port, Adapter, Unit, Started, Finished, Model, Hw, FwBefore, FwAfter, ImageName, ImageSha256,
    SettingsBefore, SettingsWritten, SettingsReadBack, Diff, Rpm, Result, Reason, StepsMs, ColumnCount
};

QVariant null_text() { return QVariant(QMetaType::fromType<QString>()); }

QVariant text_or_null(const QString& text) { return text.isEmpty() ? null_text() : QVariant(text); }

// An empty text, never NULL: the driver binds a null QString as NULL.
QVariant text(const QString& text) { return text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text); }

// Eight settings as a JSON array "[1,0,3,...]"; NULL when the step did not run.
QVariant settings_text(const std::vector<int>& values)
{
    if (values.empty())
        return null_text();
    QJsonArray array;
    for (int v : values)
        array.append(v);
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

bool parse_settings(const QVariant& value, std::vector<int>* out)
{
    out->clear();
    if (value.isNull())
        return true;
    const QJsonDocument doc = QJsonDocument::fromJson(value.toString().toUtf8());
    if (!doc.isArray())
        return false;
    for (const QJsonValue& v : doc.array()) {
        if (!v.isDouble())
            return false;
        out->push_back(v.toInt());
    }
    return true;
}

// The steps keep their order: an array of {"step": name, "ms": duration}.
QString steps_text(const std::vector<std::pair<QString, qint64>>& steps)
{
    QJsonArray array;
    for (const auto& [step, ms] : steps)
        array.append(QJsonObject{{"step", step}, {"ms", ms}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

bool parse_steps(const QString& text, std::vector<std::pair<QString, qint64>>* out)
{
    out->clear();
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray())
        return false;
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject step = v.toObject();
        if (!step.value("step").isString() || !step.value("ms").isDouble())
            return false;
        out->emplace_back(step.value("step").toString(), step.value("ms").toInteger());
    }
    return true;
}

bool parse_time(const QVariant& value, QDateTime* out)
{
    *out = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    return out->isValid();
}

}  // namespace

const QStringList& record_columns()
{
    static const QStringList columns = {
        "station", "port", "adapter", "unit", "started_utc", "finished_utc", "model", "hw", "fw_before",
        "fw_after", "image_name", "image_sha256", "settings_before", "settings_written", "settings_read_back",
        "diff", "rpm", "result", "reason", "steps_ms",
    };
    return columns;
}

QString stored_time(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QVariantList to_row(const UnitRecord& r)
{
    QVariantList row(ColumnCount);
    row[Station] = text(r.station);
    row[Port] = text(r.port);
    row[Adapter] = text(r.adapter);
    row[Unit] = r.unit;
    row[Started] = stored_time(r.started_utc);
    row[Finished] = stored_time(r.finished_utc);
    row[Model] = text(r.model);
    row[Hw] = text(r.hw);
    row[FwBefore] = text(r.fw_before);
    row[FwAfter] = text(r.fw_after);
    row[ImageName] = text_or_null(r.image_name);
    row[ImageSha256] = text_or_null(r.image_sha256);
    row[SettingsBefore] = settings_text(r.settings_before);
    row[SettingsWritten] = settings_text(r.settings_written);
    row[SettingsReadBack] = settings_text(r.settings_read_back);
    row[Diff] = text(r.diff.join(QLatin1Char('\n')));
    row[Rpm] = r.rpm ? QVariant(*r.rpm) : QVariant(QMetaType::fromType<double>());
    row[Result] = text(r.result);
    row[Reason] = text(r.reason);
    row[StepsMs] = steps_text(r.steps_ms);
    return row;
}

bool from_row(const QVariantList& row, UnitRecord* out)
{
    if (row.size() != ColumnCount)
        return false;
    UnitRecord r;
    bool unit_ok = false;
    r.station = row[Station].toString();
    r.port = row[Port].toString();
    r.adapter = row[Adapter].toString();
    r.unit = row[Unit].toLongLong(&unit_ok);
    r.model = row[Model].toString();
    r.hw = row[Hw].toString();
    r.fw_before = row[FwBefore].toString();
    r.fw_after = row[FwAfter].toString();
    r.image_name = row[ImageName].toString();
    r.image_sha256 = row[ImageSha256].toString();
    const QString diff = row[Diff].toString();
    if (!diff.isEmpty())
        r.diff = diff.split(QLatin1Char('\n'));
    if (!row[Rpm].isNull())
        r.rpm = row[Rpm].toDouble();
    r.result = row[Result].toString();
    r.reason = row[Reason].toString();
    if (!unit_ok || !parse_time(row[Started], &r.started_utc) || !parse_time(row[Finished], &r.finished_utc) ||
        !parse_settings(row[SettingsBefore], &r.settings_before) ||
        !parse_settings(row[SettingsWritten], &r.settings_written) ||
        !parse_settings(row[SettingsReadBack], &r.settings_read_back) ||
        !parse_steps(row[StepsMs].toString(), &r.steps_ms))
        return false;
    *out = std::move(r);
    return true;
}

QJsonObject to_json(const UnitRecord& record)
{
    const QVariantList row = to_row(record);
    QJsonObject object;
    for (int i = 0; i < ColumnCount; ++i)
        object.insert(record_columns()[i], row[i].isNull() ? QJsonValue() : QJsonValue::fromVariant(row[i]));
    return object;
}

bool from_json(const QJsonObject& object, UnitRecord* out)
{
    QVariantList row;
    for (const QString& column : record_columns()) {
        if (!object.contains(column))
            return false;
        const QJsonValue v = object.value(column);
        if (v.isNull())
            row.append(column == QLatin1String("rpm") ? QVariant(QMetaType::fromType<double>()) : null_text());
        else if (column == QLatin1String("unit"))
            row.append(v.toInteger());
        else
            row.append(v.toVariant());
    }
    return from_row(row, out);
}

}  // namespace records
