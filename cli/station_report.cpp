#include "cli/station_report.h"

#include "cli/console_out.h"
#include "station/station_engine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace cli {
namespace {

QJsonValue settings_json(const std::vector<int>& values)
{
    if (values.empty())
        return QJsonValue();
    QJsonArray list;
    for (int v : values)
        list.append(v);
    return list;
}

void print_json(const QJsonObject& object)
{
    print_out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

constexpr int kBarWidth = 20;
constexpr int kRedrawMs = 100;

}  // namespace

QJsonObject unit_json(const records::UnitRecord& r, bool stored)
{
    QJsonObject steps;
    for (const auto& [step, ms] : r.steps_ms)
        steps.insert(step, ms);
    return {
        {"event", "unit"},
        {"port", r.port},
        {"adapter", r.adapter.isEmpty() ? QJsonValue() : QJsonValue(r.adapter)},
        {"unit", r.unit},
        {"station", r.station},
        {"model", r.model},
        {"hw", r.hw},
        {"fw_before", r.fw_before},
        {"fw_after", r.fw_after},
        {"result", r.result},
        {"reason", r.reason},
        {"settings_before", settings_json(r.settings_before)},
        {"settings_written", settings_json(r.settings_written)},
        {"settings_read_back", settings_json(r.settings_read_back)},
        {"diff", QJsonArray::fromStringList(r.diff)},
        {"rpm", r.rpm ? QJsonValue(*r.rpm) : QJsonValue()},
        {"steps_ms", steps},
        {"image", r.image_name.isEmpty() ? QJsonValue() : QJsonValue(r.image_name)},
        {"image_sha256", r.image_sha256.isEmpty() ? QJsonValue() : QJsonValue(r.image_sha256)},
        {"stored", stored},
    };
}

JsonReport::JsonReport(station::Engine& engine) : shownTenth_(engine.plan().ports.size(), -1)
{
    const QStringList& ports = engine.plan().ports;
    connect(&engine, &station::Engine::portState, this,
            [ports](int port, station::PortState state, const QString& detail) {
                QJsonObject o{{"event", "state"}, {"port", ports[port]}, {"state", station::state_text(state)}};
                if (!detail.isEmpty())
                    o.insert("reason", detail);
                print_json(o);
            });
    connect(&engine, &station::Engine::stepStarted, this, [this, ports](int port, station::Step step, qint64 unit) {
        shownTenth_[port] = -1;
        print_json({{"event", "step"}, {"port", ports[port]}, {"unit", unit}, {"step", station::step_name(step)}});
    });
    connect(&engine, &station::Engine::progress, this, [this, ports](int port, int value, int maximum) {
        const int tenth = maximum > 0 ? value * 10 / maximum : 0;
        if (tenth == shownTenth_[port])
            return;
        shownTenth_[port] = tenth;
        print_json({{"event", "progress"}, {"port", ports[port]}, {"value", value}, {"maximum", maximum}});
    });
    connect(&engine, &station::Engine::unitFinished, this,
            [](int, const records::UnitRecord& r, bool stored) { print_json(unit_json(r, stored)); });
    connect(&engine, &station::Engine::storeTrouble, this,
            [](const QString& message) { print_json({{"event", "records"}, {"stored", false}, {"message", message}}); });
    connect(&engine, &station::Engine::storesAgain, this,
            [] { print_json({{"event", "records"}, {"stored", true}}); });
}

LiveTable::LiveTable(station::Engine& engine) : engine_(engine), rows_(engine.plan().ports.size())
{
    redraw_.setSingleShot(true);
    connect(&redraw_, &QTimer::timeout, this, &LiveTable::draw);
    connect(&engine, &station::Engine::portState, this, [this](int port, station::PortState state, const QString& detail) {
        rows_[port].state = state;
        rows_[port].detail = detail;
        later();
    });
    connect(&engine, &station::Engine::stepStarted, this, [this](int port, station::Step step, qint64) {
        rows_[port].step = station::step_name(step);
        rows_[port].value = rows_[port].maximum = 0;
        later();
    });
    connect(&engine, &station::Engine::progress, this, [this](int port, int value, int maximum) {
        rows_[port].value = value;
        rows_[port].maximum = maximum;
        later();
    });
    connect(&engine, &station::Engine::unitFinished, this, [this](int port, const records::UnitRecord& r, bool) {
        ++rows_[port].units;
        ++(r.result == QLatin1String("pass") ? passed_ : failed_);
        later();
    });
    connect(&engine, &station::Engine::storeTrouble, this, [this](const QString& message) {
        trouble_ = message;
        later();
    });
    connect(&engine, &station::Engine::storesAgain, this, [this] {
        trouble_.clear();
        later();
    });
}

void LiveTable::later()
{
    if (!redraw_.isActive())
        redraw_.start(kRedrawMs);
}

QString LiveTable::line(int port) const
{
    const Row& row = rows_[port];
    QString state;
    if (!trouble_.isEmpty() && row.state != station::PortState::Running) {
        state = QStringLiteral("paused: the records cannot be stored");
    } else if (row.state == station::PortState::Running) {
        state = row.step;
        if (row.maximum > 0) {
            const int filled = row.value * kBarWidth / row.maximum;
            state += QStringLiteral(" [%1%2] %3%")
                         .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char(' ')))
                         .arg(row.value * 100 / row.maximum);
        }
    } else {
        state = station::state_text(row.state);
        if (row.state == station::PortState::Failed && !row.detail.isEmpty())
            state = QStringLiteral("FAIL: %1; take the ESC out").arg(row.detail);
    }
    const QString adapter = engine_.adapters().value(port);
    return QStringLiteral("%1  %2  %3  units %4")
        .arg(engine_.plan().ports[port], -16)
        .arg(adapter.isEmpty() ? QStringLiteral("-") : adapter, -24)
        .arg(state, -48)
        .arg(row.units);
}

QStringList LiveTable::lines() const
{
    QStringList table;
    for (int port = 0; port < static_cast<int>(rows_.size()); ++port)
        table.append(line(port));
    QString total = QStringLiteral("total  %1 units, %2 passed, %3 failed").arg(passed_ + failed_).arg(passed_).arg(failed_);
    if (!trouble_.isEmpty())
        total += QStringLiteral("; ") + trouble_;
    table.append(total);
    return table;
}

void LiveTable::draw()
{
    QString text;
    // Back over the last drawing, each line cleared before it is written again.
    if (drawnLines_ > 0)
        text += QStringLiteral("\x1b[%1F").arg(drawnLines_);
    const QStringList table = lines();
    for (const QString& line : table)
        text += QStringLiteral("\x1b[2K") + line + QLatin1Char('\n');
    drawnLines_ = static_cast<int>(table.size());
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

}  // namespace cli
