#include "app/tform1.h"

#include "app/form_look.h"
#include "app/form_style.h"
#include "app/maker_icon.h"
#include "app/settings_file.h"
#include "app/widget_dialogs.h"
#include "link/lamp.h"
#include "link/line_settings.h"
#include "serial/port_list.h"
#include "ui_tform1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QSignalBlocker>

#include <exception>

namespace {

// The footer line.
const char* const kMakerNotice = "ZELT ESC tool - remove the propeller before a speed test";

Ui::TForm1* set_up_ui(QWidget* form)
{
    auto* ui = new Ui::TForm1;
    ui->setupUi(form);
    return ui;
}

}  // namespace

TForm1::TForm1(const AppEnv& env, QWidget* parent)
    : QWidget(parent),
      ui(set_up_ui(this)),
      programDir_(env.programDir.isEmpty() ? QCoreApplication::applicationDirPath() : env.programDir),
      settingsPath_(settings_path(programDir_)),
      listPorts_(env.listPorts ? env.listPorts : list_serial_ports),
      ownDialogs_(env.dialogs ? nullptr : std::make_unique<WidgetDialogs>(this)),
      dialogs_(env.dialogs ? *env.dialogs : *ownDialogs_),
      link_(Comm1, state_, linkUi(), dialogs_, Timer1_, Timer2_),
      params_(link_, this),
      setupFiles_(link_, this),
      firmware_(link_, this, programDir_),
      speed_(link_, this, Timer3_)
{
    // A fixed single border with system menu and minimise box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(389, 463);
    move(358, 206);
    setWindowIcon(QIcon(draw_maker_icon(64)));
    apply_design_look(this);
    apply_form_style(this);
    ui->cmbbxcomnum->setCompleter(nullptr);  // typed text stays as typed
    set_lamp(ui->shcom, false);
    set_lamp(ui->Shdt, false);
    ui->Image1->setPixmap(draw_maker_icon(ui->Image1->width()));

    configureComm1();
    connectControls();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
    // The controls outlive the subsystems by a moment; nothing they signal
    // while they go may reach them.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

LinkUi TForm1::linkUi() const
{
    LinkUi u;
    u.cmbbxcomnum = ui->cmbbxcomnum;
    u.shcom = ui->shcom;
    u.Shdt = ui->Shdt;
    u.Label2 = ui->Label2;
    u.Label3 = ui->Label3;
    u.Label4 = ui->Label4;
    u.Label15 = ui->Label15;
    u.RadioButton2 = ui->RadioButton2;
    return u;
}

std::array<QComboBox*, 8> TForm1::settingLists() const
{
    return {ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4,
            ui->ComboBox5, ui->ComboBox6, ui->ComboBox7, ui->ComboBox8};
}

void TForm1::configureComm1()
{
    Comm1.SetCommName(QStringLiteral("COM2"));
    apply_link_line_settings(Comm1);
}

void TForm1::connectControls()
{
    // Comm1's data and Timer2's tick go to the link, which takes them itself.
    connect(&Timer1_, &WindowTimer::tick, this, [this] { command([this] { link_.Timer1Timer(); }); });
    connect(&Timer3_, &WindowTimer::tick, this, &TForm1::Timer3Timer);
    link_.start_speed_test = [this] { speed_.start_speed_test(); };

    const std::pair<QPushButton*, std::function<void()>> buttons[] = {
        {ui->Button2, [this] { firmware_.Button2Click(); }},
        {ui->Button3, [this] { params_.Button3Click(); }},
        {ui->Button4, [this] { params_.Button4Click(); }},
        {ui->Button5, [this] { link_.Button5Click(); }},
        {ui->Button6, [this] { params_.Button6Click(); }},
        {ui->Button7, [this] { setupFiles_.Button7Click(); }},
        {ui->Button8, [this] { setupFiles_.Button8Click(); }},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, [this, handler] { command(handler); });

    // The port box: only the user's changes switch the port. Choosing an item
    // (also with the arrow keys) is "activated", each typed or deleted
    // character is "textEdited"; text set by the program raises neither.
    QComboBox* const box = ui->cmbbxcomnum;
    const auto portChange = [this] { command([this] { link_.cmbbxcomnumChange(); }); };
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
            modeClicked();
    });
    connect(ui->RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            modeClicked();
    });
    modeSwitchRetry_.setInterval(10);
    connect(&modeSwitchRetry_, &QTimer::timeout, this, &TForm1::runModeSwitch);

    connect(ui->TrackBar1, &QSlider::valueChanged, this, [this] { speed_.TrackBar1Change(); });
    connect(ui->UpDown1, &QSpinBox::valueChanged, this, [this] { speed_.UpDown1Click(); });
}

void TForm1::command(const std::function<void()>& handler)
{
    link_.run_command(handler);
}

void TForm1::Timer3Timer()
{
    // A poll tick that finds another exchange running is skipped; the timer
    // keeps going, so the next tick tries again.
    link_.run_command([this] { speed_.Timer3Timer(); }, /*showCursor=*/false);
}

void TForm1::modeClicked()
{
    if (link_.busy()) {
        modeSwitchRetry_.start();
        return;
    }
    runModeSwitch();
}

void TForm1::runModeSwitch()
{
    if (link_.busy())
        return;
    modeSwitchRetry_.stop();
    const bool speed = ui->RadioButton2->isChecked();
    if (speed == speedModeShown_)
        return;
    speedModeShown_ = speed;
    link_.run_command(
        [this, speed] {
            if (speed)
                speed_.RadioButton2Click();
            else
                speed_.RadioButton1Click();
        },
        /*showCursor=*/false);
}

void TForm1::test_com()
{
    ui->cmbbxcomnum->addItems(listPorts_());
}

void TForm1::FormCreate()
{
    const std::array<QComboBox*, 8> lists = settingLists();

    // 1. The colours the code sets.
    for (QWidget* w :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(ui->Label1), static_cast<QWidget*>(ui->Label6),
          static_cast<QWidget*>(ui->Label5), static_cast<QWidget*>(ui->Edit4)})
        set_background(w, kWindowColour);
    for (QPushButton* b :
         {ui->Button5, ui->Button7, ui->Button8, ui->Button2, ui->Button3, ui->Button6, ui->Button4})
        set_button_face(b, kButtonFace);

    // 2 to 6. A failure here is reported once the window is otherwise ready.
    QString startupError;
    try {
        test_com();
        const StoredSettings stored = read_settings(settingsPath_);
        ui->cmbbxcomnum->setCurrentIndex(ui->cmbbxcomnum->count() > 0 ? 0 : -1);
        ui->cmbbxcomnum->setEditText(stored.port);
        for (size_t i = 0; i < lists.size(); ++i) {
            const int index = stored.indexes[i];
            lists[i]->setCurrentIndex(index >= 0 && index < lists[i]->count() ? index : -1);
        }
    } catch (const std::exception& e) {
        startupError = QString::fromLocal8Bit(e.what());
    }

    // 7, 8. A port that cannot be opened is left closed without a word.
    Comm1.SetCommName(ui->cmbbxcomnum->currentText());
    try {
        Comm1.OpenComm();
    } catch (const std::exception&) {
    }
    try {
        link_.pumped_delay(0);
    } catch (const std::exception&) {
    }

    // 9. The start-up chain, whatever happened above.
    link_.pumped_delay(15);
    Timer1_.start();
    state_.cmd_mode = false;
    state_.esc_ok = false;
    state_.auto_search = true;
    link_.mscomm1send(QStringLiteral("35"));

    // 10.
    ui->Edit4->setText(QString::fromLatin1(kMakerNotice));

    if (!startupError.isEmpty())
        dialogs_.message(QStringLiteral("Error"), startupError, BoxIcon::Error);
}

void TForm1::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;

    StoredSettings s;
    s.port = ui->cmbbxcomnum->currentText();
    const std::array<QComboBox*, 8> lists = settingLists();
    for (size_t i = 0; i < lists.size(); ++i)
        s.indexes[i] = lists[i]->currentIndex();
    const QString& path = settingsPath_;
    if (!write_settings(path, s))
        dialogs_.message(QStringLiteral("Error"), QStringLiteral("Unable to write to %1").arg(path),
                         BoxIcon::Error);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!closed_) {
        closed_ = true;
        speed_.beforeClose();
        // Nothing is searched for or polled once the window is gone.
        Timer1_.stop();
        modeSwitchRetry_.stop();
    }
    FormDestroy();
    event->accept();
}
