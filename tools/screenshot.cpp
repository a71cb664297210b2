// Renders the main window to PNGs without a display, for the README and for
// reviewing the layout:  zelt-screenshot <folder>
// It writes screenshot.png (the window as it starts, no port listed), then,
// against the device simulator on a pseudo-terminal, connected.png (an ESC
// identified), speed-test.png (the motor turning) and firmware-update.png
// (an update half-way); and station.png, the station's window on four
// simulated cards: one unit passed, one failed, one updating, one card
// waiting for its ESC. Each window runs in a fresh program folder.

#include "app/tform1.h"
#include "serial/port_list.h"
#include "serial/port_watcher.h"
#include "sim/simulator.h"
#include "station_window/port_tile.h"
#include "station_window/station_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace {

// No box is shown; a question is answered Yes (the firmware update asks).
class SilentDialogs : public Dialogs {
public:
    BoxAnswer message(const QString&, const QString&, BoxIcon, BoxButtons buttons) override
    {
        return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Yes;
    }
    QString openFileName(const QString&, const QString&) override { return QString(); }
    QString saveFileName(const QString&, const QString&) override { return QString(); }
};

// Handles events until cond holds, at most ms; blocks between events.
bool wait_for(const std::function<bool()>& cond, int ms)
{
    const QDeadlineTimer deadline(ms);
    QTimer heartbeat;  // the simulator works on threads of its own
    heartbeat.start(10);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

template <class T>
T* control(TForm1& form, const char* name)
{
    return form.findChild<T*>(QString::fromLatin1(name));
}

class Shooter {
public:
    explicit Shooter(const QString& folder) : folder_(folder) {}
    bool failed() const { return failed_; }

    // No text caret in the picture.
    void shoot(QWidget& form, const char* file)
    {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        const QString out = QDir(folder_).filePath(QString::fromLatin1(file));
        if (!form.grab().save(out, "PNG")) {
            QTextStream(stderr) << "cannot write " << out << "\n";
            failed_ = true;
        }
    }
    void fail(const char* what)
    {
        QTextStream(stderr) << "zelt-screenshot: " << what << "\n";
        failed_ = true;
    }

private:
    QString folder_;
    bool failed_ = false;
};

void initial_state(Shooter& shooter, Dialogs& dialogs)
{
    QTemporaryDir programDir;
    AppEnv env;
    env.programDir = programDir.path();
    env.listPorts = [] { return QStringList(); };
    env.dialogs = &dialogs;
    TForm1 form(env);
    form.show();
    QApplication::processEvents();
    shooter.shoot(form, "screenshot.png");
    form.FormDestroy();  // the settings file belongs to the temporary folder
}

// Connected, a speed test, and an update under way, at the card's true pace.
void connected_states(Shooter& shooter, Dialogs& dialogs)
{
    sim::Simulator card;
    if (!card.start())
        return shooter.fail("no pseudo-terminal for the simulator");
    const QString port = QString::fromStdString(card.port_path());
    QTemporaryDir programDir;
    sim::Simulator::write_sample_images(programDir.path().toStdString(), "1.3");
    QFile ini(QDir(programDir.path()).filePath(QStringLiteral("zelt.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return shooter.fail("cannot write the settings file");
    ini.write(QStringLiteral("[COMSET]\nCOM=%1\n").arg(port).toLocal8Bit());
    ini.close();

    AppEnv env;
    env.programDir = programDir.path();
    env.listPorts = [port] { return QStringList{port}; };
    env.dialogs = &dialogs;
    TForm1 form(env);
    form.show();
    if (!wait_for([&] { return form.state().esc_ok; }, 5000))
        return shooter.fail("the simulated card did not answer");
    shooter.shoot(form, "connected.png");

    control<QSpinBox>(form, "UpDown1")->setValue(14);  // the simulated motor's poles
    control<QRadioButton>(form, "RadioButton2")->click();
    auto* slider = control<QSlider>(form, "TrackBar1");
    wait_for([] { return false; }, 200);  // armed at 900
    slider->setValue(1500);
    auto* speed = control<QLineEdit>(form, "Edit3");
    if (!wait_for([&] { return speed->text().toInt() > 5000; }, 8000))
        return shooter.fail("the speed test showed no speed");
    shooter.shoot(form, "speed-test.png");
    slider->setValue(900);
    control<QRadioButton>(form, "RadioButton1")->click();

    // The update runs inside the click; the picture is taken from a timer
    // once the progress bar is half-way.
    auto* progress = control<QProgressBar>(form, "ProgressBar1");
    bool shot = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!shot && progress->value() >= progress->maximum() / 2 && progress->maximum() > 0) {
            shot = true;
            shooter.shoot(form, "firmware-update.png");
        }
    });
    watch.start();
    control<QPushButton>(form, "Button2")->click();
    watch.stop();
    if (!shot)
        shooter.fail("the firmware update did not get half-way");
    form.FormDestroy();
}

// The station on four cards, taken once the first has passed, the second has
// failed (its update read back wrong), the third is half-way through a slow
// update and the fourth has no ESC in it.
void station_states(Shooter& shooter, Dialogs& dialogs)
{
    QTemporaryDir home;
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());  // the simulated cards are its virtual ports
    QDir(home.path()).mkdir(QStringLiteral("images"));
    sim::Simulator::write_sample_images(home.filePath(QStringLiteral("images")).toStdString());
    std::vector<std::unique_ptr<sim::Simulator>> cards;
    QStringList ports;
    for (int i = 0; i < 4; ++i) {
        sim::Options o;
        o.paced = false;
        o.turnaround_ms = i == 2 ? 20 : 0;
        cards.push_back(std::make_unique<sim::Simulator>(o));
        QString link;
        if (!cards.back()->start() || !register_virtual_port(QString::fromStdString(cards.back()->port_path()), &link))
            return shooter.fail("no pseudo-terminal for the simulator");
        ports.append(link);
    }
    cards[1]->change_faults([](sim::Faults& f) { f.flip_readback_byte = 7; });
    cards[3]->unplug();
    QSettings settings(home.filePath(QStringLiteral("station.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("station/firmware"), QStringLiteral("file"));
    settings.setValue(QStringLiteral("station/image"), home.filePath(QStringLiteral("images/upt03.blo")));
    settings.setValue(QStringLiteral("station/records"), home.filePath(QStringLiteral("records.sqlite")));

    // The simulated cards only, not this machine's ports.
    PortRoots roots;
    roots.dev = home.filePath(QStringLiteral("dev"));
    roots.sysClassTty = home.filePath(QStringLiteral("sys"));
    roots.virtualDir = virtual_port_dir();
    PortWatcher watcher(roots);
    station_window::StationWindow window(settings, dialogs, watcher, home.path());
    window.resize(1500, 820);
    window.show();
    auto* list = window.findChild<QListWidget*>();
    wait_for([&] { return list->count() == 4; }, 5000);
    window.start();
    if (!window.running())
        return shooter.fail("the station did not start");
    const auto tile = [&](int card) { return window.tiles()[window.engine()->plan().ports.indexOf(ports[card])]; };
    auto* updating = tile(2)->findChild<QProgressBar*>(QStringLiteral("progress"));
    const bool reached = wait_for(
        [&] {
            return tile(0)->word() == QLatin1String("PASS") && tile(1)->word() == QLatin1String("FAIL") &&
                   tile(3)->word() == QLatin1String("WAITING") && updating->maximum() > 0 &&
                   updating->value() >= updating->maximum() / 2;
        },
        30000);
    if (!reached)
        return shooter.fail("the station's four cards did not reach their states");
    shooter.shoot(window, "station.png");
    window.stop();
    wait_for([&] { return !window.running(); }, 30000);
    for (const QString& link : ports)
        unregister_virtual_port(link);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (argc != 2) {
        QTextStream(stderr) << "usage: zelt-screenshot <folder>\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        QTextStream(stderr) << "cannot make " << folder << "\n";
        return 1;
    }
    Shooter shooter(folder);
    SilentDialogs dialogs;
    initial_state(shooter, dialogs);
    connected_states(shooter, dialogs);
    station_states(shooter, dialogs);
    return shooter.failed() ? 1 : 0;
}
