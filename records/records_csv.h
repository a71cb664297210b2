#pragma once
// Records as CSV (RFC 4180): a header of the column names, then one line per
// record; a NULL is an empty cell.

#include "records/unit_record.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <optional>

namespace records {

QByteArray to_csv(const QList<UnitRecord>& records);

// "2026-03-01" (from its midnight, UTC) or an ISO 8601 time; nothing for anything else.
std::optional<QDateTime> parse_since(const QString& text);

}  // namespace records
