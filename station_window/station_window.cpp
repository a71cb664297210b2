#include "station_window/station_window.h"

#include "link/dialogs.h"
#include "records/records_csv.h"
#include "station/plan_choices.h"
#include "station_window/port_tile.h"
#include "station_window/records_table.h"
#include "station_window/setup_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSettings>
#include <QVBoxLayout>

namespace station_window {
namespace {

constexpr int kTileColumns = 4;

}  // namespace

StationWindow::StationWindow(QSettings& settings, Dialogs& dialogs, PortWatcher& ports,
                             const QString& programDir, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      dialogs_(dialogs),
      programDir_(programDir),
      setup_(new SetupPanel(settings, dialogs, ports, this)),
      start_(new QPushButton(tr("Start"), this)),
      stop_(new QPushButton(tr("Stop"), this)),
      sound_(new QCheckBox(tr("Sound on each result"), this)),
      problems_(new QLabel(this)),
      tileArea_(new QWidget(this)),
      tileGrid_(new QGridLayout(tileArea_)),
      counts_(new QLabel(this)),
      trouble_(new QLabel(this)),
      table_(new RecordsTable(this)),
      export_(new QPushButton(tr("Export CSV..."), this))
{
    setWindowTitle(tr("ZELT ESC station"));
    start_->setObjectName(QStringLiteral("start"));
    start_->setAccessibleName(tr("Start the station"));
    stop_->setObjectName(QStringLiteral("stop"));
    stop_->setAccessibleName(tr("Stop the station"));
    stop_->setEnabled(false);
    sound_->setAccessibleName(tr("Sound on each result"));
    sound_->setChecked(settings_.value(QStringLiteral("station/sound"), true).toBool());
    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setWordWrap(true);
    problems_->setStyleSheet(QStringLiteral("color: #c62828"));
    problems_->setAccessibleName(tr("Problems"));
    tileArea_->setAccessibleName(tr("Ports"));
    counts_->setObjectName(QStringLiteral("counts"));
    counts_->setAccessibleName(tr("Counts"));
    trouble_->setObjectName(QStringLiteral("trouble"));
    trouble_->setWordWrap(true);
    trouble_->setStyleSheet(QStringLiteral("color: #c62828"));
    trouble_->setAccessibleName(tr("Records trouble"));
    export_->setAccessibleName(tr("Export the records shown as CSV"));
    connect(start_, &QPushButton::clicked, this, &StationWindow::start);
    connect(stop_, &QPushButton::clicked, this, &StationWindow::stop);
    connect(sound_, &QCheckBox::toggled, this,
            [this](bool on) { settings_.setValue(QStringLiteral("station/sound"), on); });
    connect(export_, &QPushButton::clicked, this, &StationWindow::exportCsv);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    auto* left = new QVBoxLayout;
    left->addWidget(setup_);
    left->addLayout(buttons);
    left->addWidget(sound_);
    left->addWidget(problems_);
    left->addStretch();

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(tileArea_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(counts_, 1);
    exportRow->addWidget(export_);
    auto* right = new QVBoxLayout;
    right->addWidget(scroll, 3);
    right->addLayout(exportRow);
    right->addWidget(trouble_);
    right->addWidget(table_, 2);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    setTabOrder(start_, stop_);
    start_->setFocus();
    showCounts();
}

// However the window ends, the choices are kept for the next start.
StationWindow::~StationWindow()
{
    setup_->remember();
}

void StationWindow::start()
{
    if (running())
        return;
    problems_->clear();
    const station::Choices choices = setup_->choices();
    if (choices.ports.isEmpty())
        return problem(tr("No port is checked; plug the adapters in, or check their ports."));
    QStringList problems;
    std::optional<station::Plan> plan = station::make_plan(choices, programDir_, &problems);
    if (!plan)
        return problem(problems.join(QLatin1Char('\n')));
    QString error;
    const std::optional<records::Destination> destination =
        records::parse_destination(setup_->records(), &error);
    if (!destination)
        return problem(error);
    auto store = std::make_unique<records::RecordStore>(*destination);
    const std::optional<qint64> next = store->next_unit(plan->stationName, &error);
    if (!next)
        return problem(
            tr("cannot reach the records in %1: %2; nothing was sent").arg(destination->describe(), error));
    setup_->remember();
    const auto last = store->list(std::nullopt, &error);
    table_->show(last.value_or(QList<records::UnitRecord>{}));

    engine_.reset();  // the last run's, ended
    store_ = std::move(store);
    engine_ = std::make_unique<station::Engine>(std::move(*plan), *store_, *next);
    ended_ = false;
    passed_ = failed_ = 0;
    trouble_->clear();
    station::Engine* engine = engine_.get();
    connect(engine, &station::Engine::portState, this,
            [this](int port, station::PortState state, const QString& detail) {
                tiles_[port]->showState(state, detail);
            });
    connect(engine, &station::Engine::stepStarted, this,
            [this](int port, station::Step step, qint64 unit) { tiles_[port]->showStep(step, unit); });
    connect(engine, &station::Engine::progress, this,
            [this](int port, int value, int maximum) { tiles_[port]->showProgress(value, maximum); });
    connect(engine, &station::Engine::unitFinished, this, &StationWindow::onUnitFinished);
    connect(engine, &station::Engine::storeTrouble, trouble_, &QLabel::setText);
    connect(engine, &station::Engine::storesAgain, trouble_, &QLabel::clear);
    connect(engine, &station::Engine::ended, this, &StationWindow::onEnded);
    engine->start();
    showTiles();
    since_.start();
    showCounts();
    setup_->setEnabled(false);
    start_->setEnabled(false);
    stop_->setEnabled(true);
    stop_->setFocus();
}

void StationWindow::stop()
{
    if (!running())
        return;
    problems_->setText(tr("Stopping: the running units finish and their records are stored first."));
    engine_->stop();
}

void StationWindow::toggle()
{
    running() ? stop() : start();
}

void StationWindow::showTiles()
{
    for (PortTile* tile : tiles_)
        delete tile;
    tiles_.clear();
    const QStringList& ports = engine_->plan().ports;
    for (int i = 0; i < ports.size(); ++i) {
        auto* tile = new PortTile(ports[i], engine_->adapters().value(i), tileArea_);
        tileGrid_->addWidget(tile, i / kTileColumns, i % kTileColumns);
        tiles_.push_back(tile);
    }
}

void StationWindow::onUnitFinished(int port, const records::UnitRecord& record)
{
    tiles_[port]->countUnit();
    ++(record.result == QLatin1String("pass") ? passed_ : failed_);
    table_->add(record);
    showCounts();
    if (sound_->isChecked())
        QApplication::beep();
}

void StationWindow::showCounts()
{
    const int units = passed_ + failed_;
    const double hours = since_.isValid() ? since_.elapsed() / 3600000.0 : 0;
    const QString perHour = units > 0 && hours > 0 ? QString::number(qRound(units / hours)) : tr("-");
    counts_->setText(
        tr("Passed: %1    Failed: %2    Units per hour: %3").arg(passed_).arg(failed_).arg(perHour));
}

void StationWindow::onEnded()
{
    ended_ = true;
    problems_->clear();
    setup_->setEnabled(true);
    stop_->setEnabled(false);
    start_->setEnabled(true);
    start_->setFocus();
    emit stationEnded();
    if (closing_)
        close();
}

void StationWindow::closeEvent(QCloseEvent* event)
{
    // The window stays until the running jobs have finished and their
    // records are stored.
    if (running()) {
        closing_ = true;
        stop();
        event->ignore();
        return;
    }
    event->accept();
}

void StationWindow::keyPressEvent(QKeyEvent* event)
{
    // Space reaches the window when the control with the focus has no use for it.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        toggle();
        return;
    }
    QWidget::keyPressEvent(event);
}

void StationWindow::exportCsv()
{
    const QString path = dialogs_.saveFileName(tr("CSV file (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(records::to_csv(table_->shown())) < 0 ||
        !file.commit())
        dialogs_.message(tr("Export CSV"), tr("Cannot write %1: %2").arg(path, file.errorString()),
                         BoxIcon::Error);
}

void StationWindow::problem(const QString& text)
{
    problems_->setText(text);
}

}  // namespace station_window
