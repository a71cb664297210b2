#pragma once
// The station's last records, newest first, as a table; at most 50.

#include "records/unit_record.h"

#include <QList>
#include <QTableWidget>

namespace station_window {

class RecordsTable : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kShown = 50;

    explicit RecordsTable(QWidget* parent = nullptr);

    void show(const QList<records::UnitRecord>& newestFirst);
    void add(const records::UnitRecord& record);
    const QList<records::UnitRecord>& shown() const { return records_; }

private:
    void fill();

    QList<records::UnitRecord> records_;
};

}  // namespace station_window
