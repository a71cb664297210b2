#include "station/unit_job.h"

#include "backups/settings_backup.h"
#include "core/esc_session.h"
#include "firmware/firmware_image.h"
#include "firmware/image_locations.h"
#include "speedtest/speed_math.h"
#include "station/unattended.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>
#include <mutex>

namespace station {

std::vector<int> as_list(const SettingValues& values)
{
    return {values.begin(), values.end()};
}

namespace {

// The card answers the probe within a few byte times, and asks the ESC then.
constexpr int kIdentifyAfterUpdateMs = 1500;

QString sha256_of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

SettingValues as_values(const std::vector<int>& list)
{
    SettingValues values{};
    std::copy_n(list.begin(), std::min<size_t>(list.size(), kSettingCount), values.begin());
    return values;
}

}  // namespace

UnitJob::UnitJob(EscSession& session, UnattendedView& view, UnattendedDialogs& dialogs, const Plan& plan,
                 Hooks hooks)
    : s_(session), view_(view), dialogs_(dialogs), plan_(plan), hooks_(std::move(hooks))
{
}

records::UnitRecord UnitJob::run()
{
    records::UnitRecord r;
    r.started_utc = QDateTime::currentDateTimeUtc();
    const bool passed = timed(r, Step::Identify, &UnitJob::identify) && timed(r, Step::Read, &UnitJob::read) &&
                        (!plan_.firmware || timed(r, Step::Firmware, &UnitJob::update_firmware)) &&
                        (!plan_.setup || timed(r, Step::Settings, &UnitJob::write_settings)) &&
                        (!plan_.spin || timed(r, Step::Spin, &UnitJob::spin));
    r.result = passed ? QStringLiteral("pass") : QStringLiteral("fail");
    if (r.fw_after.isEmpty())
        r.fw_after = r.fw_before;
    r.finished_utc = QDateTime::currentDateTimeUtc();
    return r;
}

void UnitJob::stop_spin()
{
    spinStopped_ = true;
    if (spinLoop_)
        spinLoop_->quit();
}

bool UnitJob::timed(records::UnitRecord& r, Step step, bool (UnitJob::*body)(records::UnitRecord&))
{
    if (hooks_.step)
        hooks_.step(step);
    dialogs_.lastError.clear();
    QElapsedTimer took;
    took.start();
    const bool ok = (this->*body)(r);
    r.steps_ms.emplace_back(step_name(step), took.elapsed());
    return ok;
}

QString UnitJob::box_reason(const QString& fallback)
{
    QString text = dialogs_.lastError.isEmpty() ? fallback : dialogs_.lastError;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1String("\n\r"), QLatin1String(" "));
    return text.simplified();
}

bool UnitJob::identify(records::UnitRecord& r)
{
    s_.link().set_port_list({s_.comm().CommName()});
    const Outcome found = s_.perform([this] { return s_.link().search(Link::SearchReport::Quiet); });
    if (!found.done() || !s_.state().esc_ok) {
        r.reason = found.done() ? QStringLiteral("no ESC answered behind the setting card")
                                : QStringLiteral("the setting card did not answer");
        return false;
    }
    const EscLabels& labels = s_.link().esc_labels();
    r.model = labels.type;
    r.hw = labels.hwVersion;
    r.fw_before = labels.fwVersion;
    return true;
}

bool UnitJob::read(records::UnitRecord& r)
{
    const Found<SettingValues> read = s_.perform<SettingValues>([this] { return s_.params().read(); });
    if (!read.done()) {
        r.reason = QStringLiteral("reading the settings failed: ") + box_reason(read.outcome.box);
        return false;
    }
    r.settings_before = as_list(read.value);
    // What the ESC held, kept before anything changes it, as a write keeps it.
    // The ports' threads save one at a time: two saves in one millisecond
    // would both find the same name free.
    static std::mutex oneAtATime;
    const std::lock_guard lock(oneAtATime);
    QString error;
    if (!backups::save(read.value, r.model, &error))
        backups::warn_not_saved(error);
    return true;
}

bool UnitJob::update_firmware(records::UnitRecord& r)
{
    const QString path =
        plan_.imagePath.isEmpty()
            ? firmware::find_image(firmware::image_folders(plan_.programDir),
                                   firmware::image_file_name(s_.state().fw_group))
            : plan_.imagePath;
    if (!path.isEmpty()) {
        r.image_name = QFileInfo(path).fileName();
        r.image_sha256 = sha256_of(path);
    }
    // An image is named for the model it is made for, which is how the
    // window picks it; the header names only its version. A unit of one
    // model never gets another's image.
    const QString own = firmware::image_file_name(s_.state().fw_group);
    if (!plan_.imagePath.isEmpty() && !own.isEmpty() && r.image_name.compare(own, Qt::CaseInsensitive) != 0) {
        r.reason = QStringLiteral("the image %1 is not the one for this ESC's model (%2), which is %3; nothing was "
                                  "sent")
                       .arg(r.image_name, r.model, own);
        return false;
    }
    const Outcome updated = s_.perform([&] {
        return s_.firmware().update(plan_.imagePath, [this](int value, int maximum) {
            if (hooks_.progress)
                hooks_.progress(value, maximum);
        });
    });
    if (updated.done()) {
        const bool identified = await_identification();
        r.fw_after = s_.link().esc_labels().fwVersion;
        if (identified)
            return true;
        r.reason = QStringLiteral("the ESC did not answer after its firmware update");
        return false;
    }
    r.fw_after = s_.link().esc_labels().fwVersion;
    using Result = FirmwareUpdate::Result;
    switch (s_.firmware().result()) {
        case Result::NoImage:
            r.reason = QStringLiteral("the ESC's model (%1) has no firmware image; nothing was sent").arg(r.model);
            break;
        case Result::NotFinished:
            r.reason = QStringLiteral("the ESC asked for more than the whole image and never said it had finished");
            break;
        default:
            r.reason = QStringLiteral("the firmware update failed: ") +
                       box_reason(updated.box.isEmpty() ? QStringLiteral("no answer") : updated.box);
    }
    return false;
}

bool UnitJob::await_identification()
{
    // The update has asked the card afresh, as the window does; the card's
    // answer brings the identification with the new version.
    if (!s_.state().esc_ok) {
        QEventLoop loop;
        view_.onEscIdentified = [&loop] { loop.quit(); };
        QTimer::singleShot(kIdentifyAfterUpdateMs, &loop, &QEventLoop::quit);
        loop.exec();
        view_.onEscIdentified = nullptr;
    }
    return s_.state().esc_ok;
}

bool UnitJob::write_settings(records::UnitRecord& r)
{
    // Six from a setup file, and what the ESC holds for the last two; all
    // eight from a backup.
    SettingValues written = as_values(r.settings_before);
    std::copy_n(plan_.setup->values.begin(), plan_.setup->count, written.begin());
    r.settings_written = as_list(written);
    if (plan_.describeDiff)
        r.diff = plan_.describeDiff(as_values(r.settings_before), written);
    const Outcome sent = s_.perform([&] { return s_.params().write(written); });
    if (!sent.done()) {
        r.reason = QStringLiteral("writing the settings failed: ") + box_reason(sent.box);
        return false;
    }
    const Found<SettingValues> back = s_.perform<SettingValues>([this] { return s_.params().read(); });
    if (!back.done()) {
        r.reason = QStringLiteral("reading the settings back failed: ") + box_reason(back.outcome.box);
        return false;
    }
    r.settings_read_back = as_list(back.value);
    if (back.value != written) {
        r.reason = QStringLiteral("the settings read back differ from those written");
        return false;
    }
    return true;
}

bool UnitJob::spin(records::UnitRecord& r)
{
    if (spinStopped_) {
        r.reason = QStringLiteral("the spin check was stopped");
        return false;
    }
    const SpinCheck& check = *plan_.spin;
    const qint64 halfMs = check.seconds * 500LL;
    qint64 sum = 0;
    int count = 0;
    SpeedMode& speed = s_.speed();
    // The throttle starts at its minimum, which arms it; once a tick has
    // armed it, the check's throttle is set.
    QMetaObject::Connection chooseThrottle =
        QObject::connect(&s_.pollTimer(), &WindowTimer::tick, &s_.link(), [&] {
            if (!speed.throttle_armed())
                return;
            speed.set_throttle(check.throttleUs);
            QObject::disconnect(chooseThrottle);
        });
    speed.onTick = [&](const SpeedTick& tick) {
        if (tick.timeMs >= halfMs && tick.sampleRpm) {
            sum += *tick.sampleRpm;
            ++count;
        }
    };
    const auto unhook = qScopeGuard([&] {
        QObject::disconnect(chooseThrottle);
        speed.onTick = nullptr;
    });
    speed.set_pole_count(check.poles);
    speed.set_throttle(speed::kSliderMin);
    view_.showMode(OperationMode::Speed);
    s_.run([this] { return s_.speed().switch_mode(OperationMode::Speed); }, CommandKind::ModeSwitch);

    QEventLoop loop;
    QTimer progress;
    QElapsedTimer spun;
    spun.start();
    QObject::connect(&progress, &QTimer::timeout, &loop, [&] {
        if (hooks_.progress)
            hooks_.progress(static_cast<int>(spun.elapsed()), check.seconds * 1000);
    });
    progress.start(250);
    QTimer::singleShot(check.seconds * 1000, &loop, &QEventLoop::quit);
    spinLoop_ = &loop;
    if (!spinStopped_)
        loop.exec();
    spinLoop_ = nullptr;
    progress.stop();

    // FF goes out here, whatever ended the check.
    view_.showMode(OperationMode::Parameter);
    s_.run([this] { return s_.speed().switch_mode(OperationMode::Parameter); }, CommandKind::ModeSwitch);
    s_.link().wait_sent(100);

    if (count > 0)
        r.rpm = static_cast<double>(sum) / count;
    if (spinStopped_) {
        r.reason = QStringLiteral("the spin check was stopped");
        return false;
    }
    if (!r.rpm) {
        r.reason = QStringLiteral("the spin check measured no speed (is the ESC powered and the motor connected?)");
        return false;
    }
    if (*r.rpm < check.minRpm || *r.rpm > check.maxRpm) {
        r.reason = QStringLiteral("the spin check measured %1 rpm, not within %2..%3")
                       .arg(qRound(*r.rpm))
                       .arg(check.minRpm)
                       .arg(check.maxRpm);
        return false;
    }
    return true;
}

}  // namespace station
