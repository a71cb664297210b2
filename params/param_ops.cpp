#include "params/param_ops.h"

#include "link/link.h"
#include "link/status_texts.h"
#include "link/wire_codes.h"
#include "params/parameter_frame.h"
#include "params/setting_keys.h"

#include <QCoreApplication>

namespace {
const QString kIdle = QString::fromLatin1(status::kIdle);
const QString kPrompt = QString::fromLatin1(box_title::kPrompt);
constexpr int kReplyTimeoutMs = 1000;
}  // namespace

ParamOps::ParamOps(Link& link, Dialogs& dialogs) : link_(link), dialogs_(dialogs) {}

Found<SettingValues> ParamOps::read()
{
    if (Outcome refused = link_.require_esc(); !refused.done())
        return {refused};
    link_.setStatus(QString::fromLatin1(status::kReading));
    link_.pumped_delay(1);
    QString frame;
    const Outcome asked = link_.read_settings_frame(frame);
    const std::optional<SettingValues> values = asked.done() ? decode_parameter_frame(frame) : std::nullopt;
    if (!values) {
        // The frame request has shown the same box already; the second one
        // is the read operation's own report of the failure.
        return {link_.receive_data_error()};
    }
    if (onRead)
        onRead(*values);
    link_.setStatus(QString::fromLatin1(status::kReadOk));
    dialogs_.message(kPrompt, QString::fromLatin1(status::kReadOk), BoxIcon::None);
    link_.setStatus(kIdle);
    return {Outcome::ok(QString::fromLatin1(status::kReadOk)), *values};
}

Outcome ParamOps::write(const SettingValues& values)
{
    if (Outcome refused = link_.require_esc(); !refused.done())
        return refused;
    link_.setStatus(QString::fromLatin1(status::kSending));
    Outcome sent = send_settings(values);
    link_.setStatus(QString::fromLatin1(status::kSendDone));
    if (sent.done()) {
        sent.box = QStringLiteral(QT_TRANSLATE_NOOP("box_text", "Send parameter to ESC OK"));
        dialogs_.message(kPrompt, sent.box, BoxIcon::None);
    }
    link_.setStatus(kIdle);
    return sent;
}

SettingValues ParamOps::restore_defaults()
{
    return kDefaultSettings;
}

Outcome ParamOps::send_settings(const SettingValues& values)
{
    const std::optional<QByteArray> frame = encode_parameter_frame(values);
    if (!frame)
        return refuseUnselected(first_unencodable_setting(values));

    link_.send_code(request::kWriteSettings);
    link_.pumped_delay(1);
    // Whatever the ESC said to the write request itself is not part of the
    // answer: the exchange clears it before the frame goes out.
    const auto answered = [](const QString& recv) { return recv.size() >= 2; };
    const QString reply = link_.exchange(*frame, {kReplyTimeoutMs, answered, Link::Pass::ProcessOnce, answered});
    if (answered(reply) && reply == reply::kAck)
        return Outcome::ok();
    Outcome failed = link_.receive_data_error(answered(reply) ? Outcome::Kind::Rejected : Outcome::Kind::NoAnswer);
    link_.setStatus(kIdle);
    return failed;
}

// A list without a selection has no byte in the frame. Sending a stand-in
// value would change the ESC behind the user's back, so the write is refused.
Outcome ParamOps::refuseUnselected(int pos)
{
    Outcome refused = link_.report(
        Outcome::Kind::Refused, QString::fromLatin1(box_title::kError),
        QCoreApplication::translate("box_text", "No value selected for %1. Choose one before downloading.")
            .arg(QCoreApplication::translate("TForm1", kSettingCaptions[pos])));
    link_.setStatus(kIdle);
    return refused;
}
