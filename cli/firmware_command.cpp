// flash: the firmware update behind "Update firmware", its questions answered
// by --yes.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "link/termination_signals.h"

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

int flash_command(const CliOptions& options, Session& s)
{
    if (!options.image.isEmpty() && !QFileInfo(options.image).isFile()) {
        print_err(QStringLiteral("zelt-cli: there is no firmware image %1").arg(options.image));
        return kUsageOrFile;
    }
    if (!s.connect_esc(options.port))
        return kDeviceFailed;

    s.core.firmware.set_image_path(options.image);
    s.dialogs.answerYes = options.yes;
    s.view.reportProgress = true;
    // An ESC left with half an image may not start again: Ctrl+C and SIGTERM
    // wait for the update's end; only a second one ends the program at once.
    TerminationSignals stop;
    QObject::connect(&stop, &TerminationSignals::stopRequested, [] {
        print_err(QStringLiteral("zelt-cli: the firmware update goes on to its end, since an ESC left with half "
                                 "an image may not start again; a second signal ends the program at once"));
    });
    const Outcome updated = s.perform([&s] { return s.core.firmware.update(); });
    s.view.reportProgress = false;
    if (updated.done())
        return kSuccess;
    if (updated.kind == Outcome::Kind::FileProblem)
        return kUsageOrFile;

    // Two ends show no box; the window says nothing there.
    using Result = FirmwareUpdate::Result;
    switch (s.core.firmware.result()) {
        case Result::NoImage:
            print_err(QStringLiteral("zelt-cli: the ESC's model (%1) has no firmware image; nothing was sent")
                          .arg(s.core.link.esc_labels().type));
            return kDeviceFailed;
        case Result::NotFinished:
            // The ESC holds no verified firmware now.
            print_err(QStringLiteral("zelt-cli: the ESC asked for more than the whole image and never said it had "
                                     "finished; the update failed, run flash again"));
            return kDeviceFailed;
        default:
            return kDeviceFailed;
    }
}

}  // namespace cli
