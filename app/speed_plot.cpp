#include "app/speed_plot.h"

#include "app/plot_scale.h"
#include "link/dialogs.h"
#include "speedtest/speed_math.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kRepaintMs = 100;  // the poll ticks every 5 ms; ten frames a second are enough to watch
constexpr int kMargin = 44;
const QColor kSpeedColor(0, 90, 200);
const QColor kThrottleColor(220, 110, 0);

// The largest speed shown.
int32_t largest_speed(const std::deque<SpeedTick>& ticks)
{
    int32_t top = 0;
    for (const SpeedTick& t : ticks)
        top = std::max(top, t.sampleRpm.value_or(0));
    return top;
}

void extend(QPainterPath& line, const QPointF& point)
{
    if (line.elementCount() == 0)
        line.moveTo(point);
    else
        line.lineTo(point);
}

}  // namespace

SpeedPlotView::SpeedPlotView(const std::deque<SpeedTick>& ticks, QWidget* parent)
    : QWidget(parent), ticks_(ticks)
{
    setObjectName(QStringLiteral("SpeedPlotView"));
    setMinimumSize(320, 180);
    setAccessibleName(tr("Speed plot"));
    setAccessibleDescription(tr("The measured speed and the throttle of the last 60 s"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void SpeedPlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(kMargin, 12, width() - 2 * kMargin, height() - 12 - 28);
    painter.setPen(Qt::gray);
    painter.drawRect(area);

    const int64_t end =
        ticks_.empty() ? SpeedPlotWindow::kSpanMs : std::max(ticks_.back().timeMs, SpeedPlotWindow::kSpanMs);
    const int64_t start = end - SpeedPlotWindow::kSpanMs;
    const AxisScale speed = speed_axis(largest_speed(ticks_));
    const auto x = [&](int64_t ms) {
        return area.left() + area.width() * double(ms - start) / SpeedPlotWindow::kSpanMs;
    };
    const auto yRpm = [&](int32_t rpm) { return area.bottom() - area.height() * rpm / speed.top; };
    const auto yUs = [&](int us) {
        return area.bottom() -
               area.height() * (us - speed::kSliderMin) / (speed::kSliderMax - speed::kSliderMin);
    };

    // Scales: speed on the left, throttle on the right, seconds below.
    const QFontMetrics fm = painter.fontMetrics();
    for (int32_t rpm = 0; rpm <= speed.top; rpm += speed.step) {
        const double y = yRpm(rpm);
        painter.setPen(QColor(230, 230, 230));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(kSpeedColor);
        painter.drawText(QRectF(0, y - 8, kMargin - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(rpm));
    }
    painter.setPen(kThrottleColor);
    const int usStep = round_step(speed::kSliderMax - speed::kSliderMin, 6);
    for (int us = (speed::kSliderMin + usStep - 1) / usStep * usStep; us <= speed::kSliderMax; us += usStep)
        painter.drawText(QRectF(area.right() + 4, yUs(us) - 8, kMargin - 4, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(us));
    painter.setPen(Qt::black);
    for (int64_t s = (start + 9999) / 10000 * 10000; s <= end; s += 10000)
        painter.drawText(QRectF(x(s) - 30, area.bottom() + 2, 60, 14), Qt::AlignCenter,
                         tr("%1 s").arg(s / 1000));
    painter.setPen(kSpeedColor);
    painter.drawText(QPointF(area.left(), height() - 4), tr("speed (rpm)"));
    painter.setPen(kThrottleColor);
    const QString throttleName = tr("throttle (us)");
    painter.drawText(QPointF(area.right() - fm.horizontalAdvance(throttleName), height() - 4), throttleName);

    QPainterPath speedLine;
    QPainterPath throttleLine;
    for (const SpeedTick& t : ticks_) {
        extend(throttleLine, QPointF(x(t.timeMs), yUs(t.throttleUs)));
        // Nothing measured: the line goes straight on to the next sample.
        if (t.sampleRpm)
            extend(speedLine, QPointF(x(t.timeMs), yRpm(*t.sampleRpm)));
    }
    painter.setClipRect(area);
    painter.setPen(QPen(kThrottleColor, 1.5));
    painter.drawPath(throttleLine);
    painter.setPen(QPen(kSpeedColor, 1.5));
    painter.drawPath(speedLine);
}

SpeedPlotWindow::SpeedPlotWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), view_(new SpeedPlotView(ticks_, this))
{
    setObjectName(QStringLiteral("SpeedPlotWindow"));
    setWindowTitle(tr("Speed plot"));
    resize(520, 300);

    auto* csvButton = new QPushButton(tr("Export CSV..."), this);
    csvButton->setObjectName(QStringLiteral("SpeedPlotCsv"));
    auto* pngButton = new QPushButton(tr("Export PNG..."), this);
    pngButton->setObjectName(QStringLiteral("SpeedPlotPng"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(csvButton);
    buttons->addWidget(pngButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    connect(csvButton, &QPushButton::clicked, this, &SpeedPlotWindow::exportCsv);
    connect(pngButton, &QPushButton::clicked, this, &SpeedPlotWindow::exportPng);

    auto* repaint = new QTimer(this);
    connect(repaint, &QTimer::timeout, this, [this] {
        if (stale_ && isVisible())
            view_->update();
        stale_ = false;
    });
    repaint->start(kRepaintMs);
}

void SpeedPlotWindow::addTick(const SpeedTick& tick)
{
    if (!ticks_.empty() && tick.timeMs < ticks_.back().timeMs)
        ticks_.clear();
    ticks_.push_back(tick);
    while (ticks_.front().timeMs < tick.timeMs - kSpanMs)
        ticks_.pop_front();
    stale_ = true;
}

QString SpeedPlotWindow::csv() const
{
    QString text = speed::csv_header() + QLatin1Char('\n');
    for (const SpeedTick& t : ticks_)
        text += speed::csv_row(t) + QLatin1Char('\n');
    return text;
}

void SpeedPlotWindow::exportCsv()
{
    const QString path = dialogs_.saveFileName(tr("CSV file (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv().toUtf8()) < 0 || !file.commit())
        reportUnwritable(path, file.errorString());
}

void SpeedPlotWindow::exportPng()
{
    const QString path = dialogs_.saveFileName(tr("PNG image (*.png)"), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    if (!view_->grab().save(path, "PNG"))
        reportUnwritable(path, tr("the image could not be saved there"));
}

void SpeedPlotWindow::reportUnwritable(const QString& path, const QString& reason)
{
    dialogs_.message(tr("Error"), tr("Unable to write to %1\r\n%2").arg(path, reason), BoxIcon::Error);
}
