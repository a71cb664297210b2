#include "station/plan_choices.h"

#include "firmware/image_file.h"
#include "params/setting_diff.h"
#include "params/setup_file_check.h"
#include "params/setup_files.h"
#include "records/record_store.h"
#include "station/unattended.h"

#include <QFileInfo>

namespace station {

std::optional<Plan> make_plan(const Choices& choices, const QString& programDir, QStringList* problems)
{
    Plan plan;
    plan.ports = choices.ports;
    plan.programDir = programDir;
    plan.firmware = choices.firmware || !choices.image.isEmpty();
    if (!choices.image.isEmpty()) {
        // A device, a FIFO or a file far too large is refused here.
        firmware::ImageFile image;
        if (!image.open(choices.image)) {
            problems->append(QStringLiteral("cannot read the firmware image %1: %2; nothing was sent")
                                 .arg(choices.image, image.error()));
            return std::nullopt;
        }
        plan.imagePath = QFileInfo(choices.image).absoluteFilePath();
    }
    if (!choices.setup.isEmpty()) {
        const QStringList wrong = setup_file_problems(choices.setup);
        if (!wrong.isEmpty()) {
            problems->append(wrong);
            return std::nullopt;
        }
        UnattendedDialogs quiet;
        plan.setup = SetupFiles(quiet).load(choices.setup).value;
    }
    plan.spin = choices.spin;
    plan.units = choices.units;
    plan.stationName = choices.stationName.isEmpty() ? records::default_station_name() : choices.stationName;
    plan.describeDiff = setting_diff;
    return plan;
}

}  // namespace station
