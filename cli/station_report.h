#pragma once
// What the station shows while it runs: one JSON object a line for scripts
// (every state change and step, each finished unit with its whole record), or
// on a terminal a table with a line per port and a total line, redrawn in
// place. Both draw the engine's signals and nothing else.

#include "records/unit_record.h"
#include "station/station_events.h"

#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace station {
class Engine;
}

namespace cli {

// A unit's record as the station's JSON line gives it.
QJsonObject unit_json(const records::UnitRecord& record, bool stored);

class JsonReport : public QObject {
    Q_OBJECT
public:
    explicit JsonReport(station::Engine& engine);

private:
    std::vector<int> shownTenth_;  // each port's progress, in tenths last printed
};

class LiveTable : public QObject {
    Q_OBJECT
public:
    explicit LiveTable(station::Engine& engine);
    void draw();  // once more, at the end
    // The table as draw() writes it, a line per port and the total line.
    QStringList lines() const;

private:
    struct Row {
        station::PortState state = station::PortState::NoCard;
        QString detail;
        QString step;
        int value = 0;
        int maximum = 0;
        int units = 0;
    };
    QString line(int port) const;
    void later();

    station::Engine& engine_;
    std::vector<Row> rows_;
    int passed_ = 0;
    int failed_ = 0;
    QString trouble_;
    int drawnLines_ = 0;
    QTimer redraw_;
};

}  // namespace cli
