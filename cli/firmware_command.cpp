// flash: the firmware update behind "Update firmware", its questions answered
// by --yes.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "firmware/image_file.h"
#include "shutdown/stop_signals.h"

#include <QFileInfo>

namespace cli {

int refuse_unconfirmed_flash()
{
    // The questions can only be asked once the ESC is known, and asking
    // means talking to it: without --yes the port is not even opened.
    print_err(QStringLiteral(
        "zelt-cli: flash replaces the ESC's firmware and asks first (\"Are you really update hardware to V...\"), "
        "but nobody is there to answer. Nothing was sent. Run it again with --yes to answer Yes."));
    return kUsageOrFile;
}

namespace {

// The exit status of the update that has run.
int update_status(Session& s, const Outcome& updated)
{
    if (updated.done())
        return kSuccess;
    if (updated.kind == Outcome::Kind::FileProblem)
        return kUsageOrFile;

    // These ends show no box; the window says nothing there.
    using Result = FirmwareUpdate::Result;
    switch (s.core.firmware().result()) {
        case Result::NoImage:
            print_err(QStringLiteral("zelt-cli: the ESC's model (%1) has no firmware image; nothing was sent")
                          .arg(s.core.link().esc_labels().type));
            return kDeviceFailed;
        case Result::NotFinished:
            // The ESC holds no verified firmware now.
            print_err(QStringLiteral("zelt-cli: the ESC asked for more than the whole image and never said it had "
                                     "finished; the update failed, run flash again"));
            return kDeviceFailed;
        case Result::NotVerified:
            print_err(QStringLiteral("zelt-cli: stopped: the image was written but not verified; run flash again "
                                     "to write and check it"));
            return kDeviceFailed;
        default:
            return kDeviceFailed;
    }
}

}  // namespace

int flash_command(const CliOptions& options, Session& s)
{
    if (!options.image.isEmpty() && !QFileInfo::exists(options.image)) {
        print_err(QStringLiteral("zelt-cli: there is no firmware image %1").arg(options.image));
        return kUsageOrFile;
    }
    // A device, a FIFO or a file far too large is refused before the port opens.
    if (firmware::ImageFile image; !options.image.isEmpty() && !image.open(options.image)) {
        print_err(QStringLiteral("zelt-cli: cannot use the firmware image %1: %2; nothing was sent")
                      .arg(options.image, image.error()));
        return kUsageOrFile;
    }
    // An ESC left with half an image may not start again: once the write
    // has begun, a signal, or a reader of the progress that has gone, waits
    // for its end (the update says so on stderr). The read-back after it
    // only checks: a signal ends it at once.
    StopSignals stop(QStringLiteral("zelt-cli"), true);
    if (const int status = connect_unless_stopped(options, s, stop); status != kSuccess)
        return status;

    s.view.reportProgress = true;
    const Outcome updated = s.perform([&s, &options] {
        return s.core.firmware().update(
            options.image, [&s](int value, int maximum) { s.view.showProgress(value, maximum); },
            &StopSignals::requested);
    });
    s.view.reportProgress = false;
    const int status = update_status(s, updated);
    return stop.caught() ? stop.exitStatus() : status;
}

}  // namespace cli
