#pragma once
// A unit record as the values of its columns, the one mapping that the
// database, the journal and the CSV share.

#include "records/unit_record.h"

#include <QJsonObject>
#include <QVariantList>

namespace records {

// The columns after id, in the table's order.
const QStringList& record_columns();

// The column values; absent settings, image and rpm are typed NULLs.
QVariantList to_row(const UnitRecord& record);
// From the column values (id not among them); false when one has the wrong form.
bool from_row(const QVariantList& row, UnitRecord* out);

// The journal's form: one object keyed by the column names.
QJsonObject to_json(const UnitRecord& record);
bool from_json(const QJsonObject& object, UnitRecord* out);

// Times as stored: ISO 8601 in UTC with milliseconds, which sorts as text.
QString stored_time(const QDateTime& time);

}  // namespace records
