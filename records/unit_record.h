#pragma once
// What the station keeps of one unit: who made it where, what the ESC was and
// what it got, and whether it passed. One row of the records table.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace records {

struct UnitRecord {
    qint64 id = 0;  // the database's key; 0 until stored
    QString station;  // host name or the name the station was given
    QString port;
    QString adapter;  // the adapter's stable name
    qint64 unit = 0;  // sequence number on the station
    QDateTime started_utc;
    QDateTime finished_utc;
    QString model;
    QString hw;
    QString fw_before;
    QString fw_after;
    QString image_name;  // empty when no firmware was written
    QString image_sha256;
    // Eight values each, as the ESC sent them; empty when the step did not run.
    std::vector<int> settings_before;
    std::vector<int> settings_written;
    std::vector<int> settings_read_back;
    QStringList diff;  // "Caption: before -> written" lines
    std::optional<double> rpm;  // the spin check's mean
    QString result;  // "pass" or "fail"
    QString reason;
    std::vector<std::pair<QString, qint64>> steps_ms;  // each step's duration, in the order they ran

    bool operator==(const UnitRecord&) const = default;
};

}  // namespace records
