#pragma once
// One port's tile: the port, its adapter's stable name, the state as a word
// large enough to read from a step away and in colour (never colour alone),
// what to do or why it failed, the running step's progress and the units
// done. It draws the engine's events and decides nothing.

#include "station/station_events.h"

#include <QColor>
#include <QFrame>

class QLabel;
class QProgressBar;

namespace station_window {

class PortTile : public QFrame {
    Q_OBJECT
public:
    PortTile(const QString& port, const QString& adapter, QWidget* parent = nullptr);

    void showState(station::PortState state, const QString& detail);
    void showStep(station::Step step, qint64 unit);
    void showProgress(int value, int maximum);
    void countUnit();

    QString word() const;
    QString detail() const;
    QColor colour() const { return colour_; }
    int units() const { return units_; }

private:
    void paint(const QString& word, const QString& detail, const QColor& colour);

    QLabel* word_;
    QLabel* detail_;
    QProgressBar* progress_;
    QLabel* units_label_;
    QColor colour_;
    station::PortState state_ = station::PortState::NoCard;
    int units_ = 0;
};

}  // namespace station_window
