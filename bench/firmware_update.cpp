// A full firmware update (write, read-back, compare) against the simulator at
// line pace, timed from the click to the end of the update. Its wall time is
// set against the line-time limit of every byte moved in both directions at
// 19200 baud 8N1 (1920 bytes/s; the directions barely overlap, as each block
// waits for its reply). Goal: ratio <= 1.05.

#include "firmware/firmware_update.h"
#include "link/line_settings.h"
#include "link/link.h"
#include "serial/tcomm.h"
#include "sim/simulator.h"
#include "tests/support/answering_dialogs.h"
#include "tests/support/fake_view.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr double kLineBytesPerSecond = 19200.0 / 10.0;
constexpr long long kReadBackBytes = 6144;

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);

    QTemporaryDir programDir;
    sim::Options options;
    options.paced = true;
    const int thinkMs = options.turnaround_ms;
    sim::Simulator simulator(options);
    if (!programDir.isValid() || !simulator.start() ||
        !sim::Simulator::write_sample_images(programDir.path().toStdString(), "1.3")) {
        std::fprintf(stderr, "cannot set up the simulator or the sample images\n");
        return 2;
    }

    TComm comm;
    comm.SetCommName(QString::fromStdString(simulator.port_path()));
    apply_link_line_settings(comm);
    try {
        comm.OpenComm();
    } catch (const ECommsError& e) {
        std::fprintf(stderr, "cannot open %s: %s\n", simulator.port_path().c_str(), e.what());
        return 2;
    }

    SharedState state;
    AnsweringDialogs dialogs;
    WindowTimer timer1(1000);
    WindowTimer timer2(1000, Qt::PreciseTimer);
    FakeView view;
    Link link(comm, state, view, dialogs, timer1, timer2);
    link.show_identification(QStringLiteral("50031012"));  // an ESC with firmware 1.2

    long long bytesIn = 0;
    const TReceiveDataEvent deliver = comm.OnReceiveData;
    comm.OnReceiveData = [&](TComm* sender, const char* buffer, uint16_t length) {
        bytesIn += length;
        deliver(sender, buffer, length);
    };

    state.esc_ok = true;
    state.fw_group = 1;
    simulator.clear_received();
    FirmwareUpdate update(link, state, view, dialogs, programDir.path());

    QElapsedTimer wall;
    wall.start();
    update.Button2Click();
    const double seconds = wall.nsecsElapsed() / 1e9;

    const long long bytesOut = static_cast<long long>(simulator.received().size());
    const double lineSeconds = (bytesOut + bytesIn) / kLineBytesPerSecond;
    const double ratio = seconds / lineSeconds;
    std::printf("last box: %s\n", qPrintable(dialogs.lastText));
    std::printf("bytes moved: %lld out, %lld in\n", bytesOut, bytesIn);
    std::printf("firmware update wall time: %.3f s\n", seconds);
    std::printf("line-time limit of the bytes moved: %.3f s\n", lineSeconds);
    std::printf("ratio: %.3f (goal <= 1.05)\n", ratio);
    // The simulated ESC thinks before every answer; that time is the
    // device's, not the program's. Each write-phase answer is one byte, and
    // the read-back is one more answer.
    const long long answers = bytesIn - kReadBackBytes + 1;
    const double thinkSeconds = answers * thinkMs / 1000.0;
    std::printf("device think time within the wall time: %.3f s (%lld answers x %d ms)\n", thinkSeconds,
                answers, thinkMs);
    std::printf("ratio without the device think time: %.3f\n", (seconds - thinkSeconds) / lineSeconds);
    comm.CloseComm();
    const bool verified = dialogs.lastText.startsWith(QLatin1String("Update hardware succeed"));
    return verified && ratio <= 1.05 ? 0 : 1;
}
