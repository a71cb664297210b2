#include "app/tform1.h"

#include "app/form_look.h"
#include "app/form_style.h"
#include "app/maker_icon.h"
#include "app/setting_controls.h"
#include "app/close_on_signal.h"
#include "settings/settings_file.h"
#include "app/widget_dialogs.h"
#include "app/lamp.h"
#include "app/log_window.h"
#include "app/scoped_cursor.h"
#include "app/speed_plot.h"
#include "link/model_table.h"
#include "serial/link_trace.h"
#include "shutdown/stop_signals.h"
#include "serial/port_list.h"
#include "serial/port_watcher.h"
#include "ui_tform1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>
#include <exception>

namespace {

const char* const kSetupFilter = QT_TRANSLATE_NOOP("TForm1", "Zelt File (*.zelt)");
const QString kSetupSuffix = QStringLiteral("zelt");

// The footer line.
const char* const kMakerNotice =
    QT_TRANSLATE_NOOP("TForm1", "ZELT ESC tool - remove the propeller before a speed test");

Ui::TForm1* set_up_ui(QWidget* form)
{
    auto* ui = new Ui::TForm1;
    ui->setupUi(form);
    fill_setting_controls(*ui);
    return ui;
}

}  // namespace

TForm1::TForm1(const AppEnv& env, QWidget* parent)
    : QWidget(parent),
      ui(set_up_ui(this)),
      programDir_(env.programDir.isEmpty() ? QCoreApplication::applicationDirPath() : env.programDir),
      settingsPath_(settings_path(programDir_)),
      ownDialogs_(env.dialogs ? nullptr : std::make_unique<WidgetDialogs>(this)),
      dialogs_(env.dialogs ? *env.dialogs : *ownDialogs_),
      watcher_(env.listPorts ? nullptr : std::make_unique<PortWatcher>(env.portRoots.value_or(PortRoots()))),
      traceLines_(env.traceLines),
      session_(*this, dialogs_,
               {.programDir = programDir_, .watchdog = true, .followPortLoss = true, .watcher = watcher_.get()})
{
    listPorts_ = env.listPorts ? env.listPorts : [this] { return watcher_->ports(); };
    // A fixed single border with system menu and minimise box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(389, 463);
    move(358, 206);
    setWindowIcon(QIcon(draw_maker_icon(64)));
    apply_design_look(this);
    apply_form_style(this);
    ui->cmbbxcomnum->setCompleter(nullptr);  // typed text stays as typed
    showCardLamp(false);
    showEscLamp(false);
    ui->Image1->setPixmap(draw_maker_icon(ui->Image1->width()));

    session_.comm().SetCommName(QStringLiteral("COM2"));
    connectControls();
    addShortcuts();
    FormCreate();
    session_.portLoss()->follow_port_in_use();
}

TForm1::~TForm1()
{
    FormDestroy();
    // The controls outlive the subsystems by a moment; nothing they signal
    // while they go may reach them.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

std::array<QComboBox*, kSettingCount> TForm1::settingLists() const
{
    return setting_lists(*ui);
}

// The buttons' handlers: each runs the session's operation as the user's
// command (one at a time), with what the controls hold when it runs, and
// shows what came back; its boxes have told the user how it ended.
void TForm1::runOverwriting(const std::function<Outcome()>& operation)
{
    session_.run([this, operation] {
        backUpBeforeOverwrite();
        return operation();
    });
}

void TForm1::Button2Click()
{
    runOverwriting([this] {
        // A signal that ends the program ends the read-back at once; the
        // image is written by then.
        return session_.firmware().update(
            QString(),
            [this](int value, int maximum) {
                ui->ProgressBar1->setMaximum(maximum);
                ui->ProgressBar1->setValue(value);
            },
            &StopSignals::requested);
    });
}

void TForm1::Button3Click()
{
    // The lists show the values before the success box (onRead).
    session_.run([this] { return session_.params().read().outcome; });
}

void TForm1::Button4Click()
{
    runOverwriting([this] { return session_.params().write(listValues()); });
}

void TForm1::Button5Click()
{
    session_.run([this] { return session_.link().search_by_user(); });
}

void TForm1::Button6Click()
{
    runOverwriting([this] {
        showListValues(ParamOps::restore_defaults());
        return Outcome::ok();
    });
}

void TForm1::Button7Click()
{
    session_.run([this] {
        const QString name = dialogs_.openFileName(tr(kSetupFilter), kSetupSuffix);
        if (name.isEmpty())
            return Outcome::fail(Outcome::Kind::Refused);
        // The hourglass while the file is read and shown.
        const ScopedCursor hourglass(Qt::BusyCursor);
        const Found<SetupContents> loaded = session_.setupFiles().load(name);
        for (int i = 0; i < kSetupKeyCount; ++i)
            showSettingIndex(i, loaded.value.values[i]);
        return loaded.outcome;
    });
}

void TForm1::Button8Click()
{
    session_.run([this] {
        const QString name = dialogs_.saveFileName(tr(kSetupFilter), kSetupSuffix);
        if (name.isEmpty())
            return Outcome::fail(Outcome::Kind::Refused);
        const SettingValues lists = listValues();
        SetupValues values{};
        std::copy_n(lists.begin(), kSetupKeyCount, values.begin());
        return session_.setupFiles().save(name, values);
    });
}

void TForm1::TrackBar1Change(int position)
{
    session_.speed().set_throttle(position);
}

void TForm1::UpDown1Click(int poles)
{
    session_.speed().set_pole_count(poles);
}

void TForm1::connectControls()
{
    Link& link = session_.link();
    // Ports plugged in or pulled out while the window is open.
    if (watcher_)
        connect(watcher_.get(), &PortWatcher::portsChanged, this, [this] { session_.link().set_port_list(listPorts_()); });

    session_.params().onRead = [this](const SettingValues& values) {
        showListValues(values);
        lastRead_.remember(session_.link().port_in_use(), session_.link().model_label(), values);
    };
    const std::pair<QPushButton*, void (TForm1::*)()> buttons[] = {
        {ui->Button2, &TForm1::Button2Click}, {ui->Button3, &TForm1::Button3Click},
        {ui->Button4, &TForm1::Button4Click}, {ui->Button5, &TForm1::Button5Click},
        {ui->Button6, &TForm1::Button6Click}, {ui->Button7, &TForm1::Button7Click},
        {ui->Button8, &TForm1::Button8Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);

    // The port box: only the user's changes switch the port. Choosing an item
    // (also with the arrow keys) is "activated", each typed or deleted
    // character is "textEdited"; text set by the program raises neither.
    QComboBox* const box = ui->cmbbxcomnum;
    const auto portChange = [&link, box] { link.port_box_changed(box->currentText()); };
    connect(box, &QComboBox::activated, this, portChange);
    connect(box->lineEdit(), &QLineEdit::textEdited, this, portChange);
    // Qt also reports "activated" when an edit ends (focus leaves, Enter) on a
    // text that names another item than the current one, as after a search
    // wrote a port into the box. Keeping the current item in step with the
    // text leaves Qt nothing to activate then.
    connect(box->lineEdit(), &QLineEdit::textChanged, this, [box](const QString& text) {
        if (box->itemText(box->currentIndex()) == text)
            return;
        const int match = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (match >= 0) {
            const QSignalBlocker quiet(box);
            box->setCurrentIndex(match);
        }
    });

    connect(ui->RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            modeClicked(OperationMode::Parameter);
    });
    connect(ui->RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            modeClicked(OperationMode::Speed);
    });

    connect(ui->RadioButton1, &QRadioButton::toggled, this, &TForm1::describeStates);
    connect(ui->ProgressBar1, &QProgressBar::valueChanged, this, &TForm1::describeStates);
    describeStates();

    connect(ui->TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
    // The pole count goes in steps of 2, but the box takes typed digits: an
    // odd number typed becomes the even one below it before anyone sees it.
    connect(ui->UpDown1, &QSpinBox::valueChanged, this, [this](int poles) {
        if (poles % 2 != 0) {
            ui->UpDown1->setValue(poles - 1);
            return;
        }
        UpDown1Click(poles);
    });
}

void TForm1::modeClicked(OperationMode mode)
{
    // The button shows the new mode at once; the switch runs now or, should
    // an exchange be running, as soon as it has ended.
    session_.run(
        [this, mode] {
            if (session_.state().mode == mode)
                return Outcome::ok();
            return session_.speed().switch_mode(mode);
        },
        CommandKind::ModeSwitch);
}

void TForm1::backUpBeforeOverwrite()
{
    lastRead_.back_up_before_overwrite(session_.link().port_in_use(), session_.link().model_label());
}

void TForm1::addShortcuts()
{
    // Motor safety: Escape stops the motor wherever the focus is, in the log
    // window too, as a click on Parameter does (the ESC gets its release, FF).
    // A box open over the window takes its Escape itself.
    auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    stop->setContext(Qt::ApplicationShortcut);
    connect(stop, &QShortcut::activated, this, [this] {
        if (ui->RadioButton2->isChecked())
            ui->RadioButton1->click();
    });
    auto* log = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    log->setContext(Qt::ApplicationShortcut);
    connect(log, &QShortcut::activated, this, &TForm1::showLogWindow);
    auto* plot = new QAction(tr("Speed plot"), ui->GroupBox5);
    plot->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    plot->setShortcutContext(Qt::ApplicationShortcut);
    connect(plot, &QAction::triggered, this, &TForm1::showSpeedPlot);
    ui->GroupBox5->addAction(plot);
    ui->GroupBox5->setContextMenuPolicy(Qt::ActionsContextMenu);
}

SpeedPlotWindow* TForm1::showSpeedPlot()
{
    if (!speedPlot_) {
        speedPlot_ = new SpeedPlotWindow(dialogs_, this);
        // Until the plot is first opened, the poll builds no records.
        session_.speed().onTick = [this](const SpeedTick& tick) { speedPlot_->addTick(tick); };
    }
    speedPlot_->show();
    speedPlot_->raise();
    speedPlot_->activateWindow();
    return speedPlot_;
}

LogWindow* TForm1::showLogWindow()
{
    if (!traceLines_)
        return nullptr;
    if (!logWindow_) {
        // The window shows the trace from now on, whatever the rules said.
        enable_link_trace(true);
        logWindow_ = new LogWindow(*traceLines_, dialogs_, this);
    }
    logWindow_->show();
    logWindow_->raise();
    logWindow_->activateWindow();
    return logWindow_;
}

void TForm1::test_com()
{
    session_.link().set_port_list(listPorts_());
}

void TForm1::FormCreate()
{
    // The colours the code sets.
    for (QWidget* w :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(ui->Label1), static_cast<QWidget*>(ui->Label6),
          static_cast<QWidget*>(ui->Label5), static_cast<QWidget*>(ui->Edit4)})
        set_background(w, kWindowColour);
    for (QPushButton* b :
         {ui->Button5, ui->Button7, ui->Button8, ui->Button2, ui->Button3, ui->Button6, ui->Button4})
        set_button_face(b, kButtonFace);

    // The port list and the settings file. A failure here is reported once
    // the window is otherwise ready.
    QString startupError;
    try {
        test_com();
        const StoredSettings stored = read_settings(settingsPath_);
        ui->cmbbxcomnum->setCurrentIndex(ui->cmbbxcomnum->count() > 0 ? 0 : -1);
        ui->cmbbxcomnum->setEditText(stored.port);
        for (int i = 0; i < static_cast<int>(stored.indexes.size()); ++i)
            showSettingIndex(i, stored.indexes[i]);
    } catch (const std::exception& e) {
        startupError = QString::fromLocal8Bit(e.what());
    }

    // The remembered port; one that cannot be opened is left closed without a word.
    session_.comm().SetCommName(ui->cmbbxcomnum->currentText());
    try {
        session_.comm().OpenComm();
    } catch (const std::exception&) {
    }
    try {
        session_.link().pumped_delay(0);
    } catch (const std::exception&) {
    }

    // The start-up chain, whatever happened above: the card's answer to the
    // probe starts the identification, its silence the search.
    session_.link().pumped_delay(15);
    session_.link().arm_search();

    ui->Edit4->setText(tr(kMakerNotice));

    if (!startupError.isEmpty())
        dialogs_.message(tr("Error"), startupError, BoxIcon::Error);
}

void TForm1::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;

    StoredSettings s;
    s.port = session_.link().port_in_use();
    for (int i = 0; i < static_cast<int>(s.indexes.size()); ++i)
        s.indexes[i] = settingLists()[i]->currentIndex();
    const QString& path = settingsPath_;
    if (write_settings(path, s))
        return;
    const QString text = tr("Unable to write to %1").arg(path);
    if (CloseOnSignal::closing())
        CloseOnSignal::reportFailure(text);
    else
        dialogs_.message(tr("Error"), text, BoxIcon::Error);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!closed_) {
        closed_ = true;
        session_.speed().beforeClose();
        // Nothing is searched for or polled once the window is gone.
        session_.watchdog().stop();
        session_.link().drop_deferred();
    }
    FormDestroy();
    event->accept();
}

// The link's texts are English; the window shows each in the user's
// language where it has a translation (link/status_texts.h, model_table.h).
void TForm1::showStatus(const QString& text)
{
    ui->Label15->setText(QCoreApplication::translate("status", text.toUtf8().constData()));
}

void TForm1::showCardLamp(bool lit)
{
    set_lamp(ui->shcom, lit, lit ? tr("Setting card connected") : tr("Setting card not connected"));
}

void TForm1::showEscLamp(bool lit)
{
    set_lamp(ui->Shdt, lit, lit ? tr("ESC identified") : tr("No ESC identified"));
}

void TForm1::showEscLabels(const QString& type, const QString& hwVersion, const QString& fwVersion)
{
    ui->Label2->setText(shown_esc_label(type));
    ui->Label3->setText(shown_esc_label(hwVersion));
    ui->Label4->setText(shown_esc_label(fwVersion));
}

SettingValues TForm1::listValues() const
{
    SettingValues values{};
    for (int i = 0; i < kSettingCount; ++i)
        values[i] = settingLists()[i]->currentIndex();
    return values;
}

// A value outside a list's items leaves that list without a selection, and
// no message is shown.
void TForm1::showSettingIndex(int pos, int index)
{
    QComboBox* list = settingLists()[pos];
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void TForm1::showListValues(const SettingValues& values)
{
    for (int i = 0; i < kSettingCount; ++i)
        showSettingIndex(i, values[i]);
}

void TForm1::showBusy(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TForm1::showMode(OperationMode mode)
{
    const bool parameterMode = mode == OperationMode::Parameter;
    {
        // The user's click has selected the button already; a mode set by
        // the program selects it here without asking for a switch.
        const QSignalBlocker quiet1(ui->RadioButton1);
        const QSignalBlocker quiet2(ui->RadioButton2);
        (parameterMode ? ui->RadioButton1 : ui->RadioButton2)->setChecked(true);
    }
    QWidget* const parameterControls[] = {
        ui->Button2,   ui->Button7,   ui->Button8,   ui->Button3,   ui->Button6,   ui->Button4,   ui->Label5,
        ui->Label6,    ui->Label7,    ui->Label8,    ui->Label9,    ui->Label10,   ui->Label12,   ui->ComboBox1,
        ui->ComboBox2, ui->ComboBox3, ui->ComboBox4, ui->ComboBox5, ui->ComboBox6, ui->ComboBox7};
    QWidget* const speedControls[] = {ui->TrackBar1, ui->Edit3,   ui->Edit1,   ui->Edit2,  ui->UpDown1,
                                            ui->Label18,   ui->Label16, ui->Label14, ui->Label17};
    for (QWidget* w : parameterControls)
        w->setEnabled(parameterMode);
    for (QWidget* w : speedControls)
        w->setEnabled(!parameterMode);
    describeStates();
}

// What the mode buttons and the progress bar show, in words, for screen
// readers and as their tooltips.
void TForm1::describeStates()
{
    const auto describe = [](QWidget* w, const QString& state) {
        w->setAccessibleDescription(state);
        w->setToolTip(state);
    };
    const bool parameterMode = ui->RadioButton1->isChecked();
    describe(ui->RadioButton1,
             parameterMode ? tr("Parameter mode selected") : tr("Parameter mode not selected"));
    describe(ui->RadioButton2,
             parameterMode ? tr("Speed test mode not selected") : tr("Speed test mode selected"));
    const QProgressBar* bar = ui->ProgressBar1;
    const int span = bar->maximum() - bar->minimum();
    const int percent = span > 0 ? std::max(0, 100 * (bar->value() - bar->minimum()) / span) : 0;
    describe(ui->ProgressBar1, tr("%1% done").arg(percent));
}

OperationMode TForm1::selectedMode() const
{
    return ui->RadioButton2->isChecked() ? OperationMode::Speed : OperationMode::Parameter;
}

void TForm1::showThrottleText(const QString& text)
{
    ui->Edit1->setText(text);
}

void TForm1::showPoleCountText(const QString& text)
{
    ui->Edit2->setText(text);
}

void TForm1::showRotateSpeed(const QString& text)
{
    ui->Edit3->setText(text);
}

void TForm1::showPortName(const QString& name)
{
    ui->cmbbxcomnum->setEditText(name);
}

void TForm1::showPortList(const QStringList& ports)
{
    // The list changes under the user's hands when a port comes or goes:
    // the text (typed, or the port in use) and the caret stay as they were,
    // and nothing of this counts as the user's change.
    QComboBox* const box = ui->cmbbxcomnum;
    QLineEdit* const edit = box->lineEdit();
    const QString text = box->currentText();
    const int caret = edit->cursorPosition();
    const int selStart = edit->selectionStart();
    const int selLength = edit->selectedText().size();
    {
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItems(ports);
        // Hardware ports also by the stable name that survives a replug.
        for (int i = 0; watcher_ && i < ports.size(); ++i)
            if (const QString id = watcher_->stableName(ports[i]); !id.isEmpty())
                box->setItemData(i, id, Qt::ToolTipRole);
        box->setCurrentIndex(box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        box->setEditText(text);
    }
    if (selStart >= 0)
        edit->setSelection(selStart, selLength);
    else
        edit->setCursorPosition(caret);
}
