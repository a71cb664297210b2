#include "station_window/port_tile.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace station_window {
namespace {

constexpr int kWordPoints = 28;  // readable at 2 m

// Green and red that keep white text readable; the rest take black text.
const QColor kPass(0x2e, 0x7d, 0x32);
const QColor kFail(0xc6, 0x28, 0x28);
const QColor kRunning(0xff, 0xd5, 0x4f);
const QColor kWaiting(0xe0, 0xe0, 0xe0);
const QColor kNoCard(0x9e, 0x9e, 0x9e);
const QColor kPaused(0xff, 0x98, 0x00);

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

}  // namespace

PortTile::PortTile(const QString& port, const QString& adapter, QWidget* parent)
    : QFrame(parent),
      word_(new QLabel(this)),
      detail_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      units_label_(new QLabel(this))
{
    setFrameShape(QFrame::Box);
    // Reached with Tab, so that a screen reader reads the tile's state.
    setFocusPolicy(Qt::TabFocus);
    setAutoFillBackground(true);
    setMinimumWidth(260);
    // The device's name, as the ports are named on the command line; the path in its tool tip.
    auto* portLabel = new QLabel(QFileInfo(port).fileName(), this);
    portLabel->setObjectName(QStringLiteral("port"));
    portLabel->setToolTip(port);
    QFont bold = portLabel->font();
    bold.setBold(true);
    portLabel->setFont(bold);
    auto* adapterLabel = new QLabel(adapter.isEmpty() ? tr("no stable name") : adapter, this);
    adapterLabel->setObjectName(QStringLiteral("adapter"));
    adapterLabel->setWordWrap(true);
    word_->setObjectName(QStringLiteral("word"));
    QFont big = word_->font();
    big.setPointSize(kWordPoints);
    big.setBold(true);
    word_->setFont(big);
    detail_->setObjectName(QStringLiteral("detail"));
    detail_->setWordWrap(true);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setAccessibleName(tr("Progress on %1").arg(port));
    units_label_->setObjectName(QStringLiteral("units"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(portLabel);
    layout->addWidget(adapterLabel);
    layout->addWidget(word_);
    layout->addWidget(detail_);
    layout->addWidget(progress_);
    layout->addWidget(units_label_);
    layout->addStretch();
    setAccessibleName(tr("Port %1").arg(port));
    showState(station::PortState::NoCard, {});
    units_label_->setText(tr("Units: 0"));
}

void PortTile::showState(station::PortState state, const QString& detail)
{
    using station::PortState;
    state_ = state;
    progress_->setVisible(state == PortState::Running);
    if (state == PortState::Running)
        progress_->setRange(0, 0);  // busy until the step tells how far it is
    switch (state) {
        case PortState::NoCard:
            return paint(tr("NO CARD"), tr("the setting card does not answer; it keeps being tried"),
                         kNoCard);
        case PortState::Waiting:
            return paint(tr("WAITING"), tr("put an ESC in"), kWaiting);
        case PortState::Running:
            return paint(tr("RUNNING"), {}, kRunning);
        case PortState::Passed:
            return paint(tr("PASS"), tr("take the ESC out"), kPass);
        case PortState::Failed:
            return paint(tr("FAIL"),
                         detail.isEmpty() ? tr("take the ESC out") : detail + tr("; take the ESC out"),
                         kFail);
        case PortState::Paused:
            return paint(tr("PAUSED"), tr("the records cannot be stored"), kPaused);
    }
}

void PortTile::showStep(station::Step step, qint64 unit)
{
    if (state_ != station::PortState::Running)
        return;
    progress_->setRange(0, 0);
    paint(capitalised(station::step_name(step)), tr("unit %1").arg(unit), kRunning);
}

void PortTile::showProgress(int value, int maximum)
{
    if (state_ != station::PortState::Running || maximum <= 0)
        return;
    progress_->setRange(0, maximum);
    progress_->setValue(value);
}

void PortTile::countUnit()
{
    ++units_;
    units_label_->setText(tr("Units: %1").arg(units_));
}

QString PortTile::word() const
{
    return word_->text();
}

QString PortTile::detail() const
{
    return detail_->text();
}

void PortTile::paint(const QString& word, const QString& detail, const QColor& colour)
{
    colour_ = colour;
    word_->setText(word);
    detail_->setText(detail);
    QPalette look = palette();
    look.setColor(QPalette::Window, colour);
    const QColor text = colour == kPass || colour == kFail ? Qt::white : Qt::black;
    look.setColor(QPalette::WindowText, text);
    setPalette(look);
    setAccessibleDescription(detail.isEmpty() ? word : word + QStringLiteral(": ") + detail);
}

}  // namespace station_window
