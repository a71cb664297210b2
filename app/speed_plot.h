#pragma once
// The speed plot (Ctrl+G): the measured speed and the throttle of the last
// 60 s of the speed test, live, in a small window of its own, with the ticks
// it shows exported as CSV (the columns of zelt-cli speed --csv) or the plot
// as PNG.
//
// Drawn with QPainter rather than Qt Charts: two lines against time with two
// fixed scales is a few dozen lines of painting, while Qt Charts would add a
// package to every build machine and a scene of graphics items to rebuild
// at the poll's 200 ticks per second.

#include "speedtest/speed_tick.h"

#include <QWidget>
#include <deque>

class Dialogs;
class QPushButton;

class SpeedPlotView : public QWidget {
    Q_OBJECT
public:
    explicit SpeedPlotView(const std::deque<SpeedTick>& ticks, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::deque<SpeedTick>& ticks_;
};

class SpeedPlotWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int64_t kSpanMs = 60000;

    explicit SpeedPlotWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    // A tick of the speed test. One from a new test (its time starts again)
    // clears the plot.
    void addTick(const SpeedTick& tick);
    // The ticks shown: those of the last kSpanMs.
    const std::deque<SpeedTick>& ticks() const { return ticks_; }
    QString csv() const;

    // Ask for a file name and write to it; a file that cannot be written is
    // reported in a box.
    void exportCsv();
    void exportPng();

private:
    void reportUnwritable(const QString& path, const QString& reason);

    Dialogs& dialogs_;
    std::deque<SpeedTick> ticks_;
    SpeedPlotView* view_;
    bool stale_ = false;  // ticks came since the last repaint
};
