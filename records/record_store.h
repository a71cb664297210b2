#pragma once
// Stores unit records in the database and lists them. A record the database
// cannot take goes to the journal; the journal is stored first, in order, as
// soon as the database answers again, and each unit once only (the table
// keeps one row per station and unit).

#include "records/destination.h"
#include "records/journal.h"
#include "records/unit_record.h"

#include <QDateTime>
#include <QList>
#include <optional>

namespace records {

class RecordStore {
public:
    explicit RecordStore(Destination destination);

    enum class Outcome {
        Stored,     // the row is committed
        Journaled,  // the database did not take it; the journal has it on the disk
        Lost,       // neither: the caller must stop and tell
    };
    struct StoreResult {
        Outcome outcome;
        QString message;  // why it was not stored
    };
    StoreResult store(const UnitRecord& record);

    // Stores what waits in the journal; true once nothing waits.
    bool replay(QString* error);
    int waiting() const;  // records in the journal

    // Newest first; with since, only those finished at or after it.
    std::optional<QList<UnitRecord>> list(const std::optional<QDateTime>& since, QString* error) const;
    // The next unit number of a station: after every one stored or journaled.
    std::optional<qint64> next_unit(const QString& station, QString* error) const;

    const Destination& destination() const { return destination_; }

private:
    Destination destination_;
    Journal journal_;
};

// The host name, the station's name unless it is given one.
QString default_station_name();

}  // namespace records
