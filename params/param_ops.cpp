#include "params/param_ops.h"

#include "link/link.h"
#include "link/status_texts.h"
#include "params/parameter_frame.h"
#include "params/setting_keys.h"
#include "params/setting_lists.h"

namespace {
const QString kIdle = QString::fromLatin1(status::kIdle);
const QString kPrompt = QString::fromLatin1(box_title::kPrompt);
const QString kWriteAck = QStringLiteral("55");
constexpr int kReplyTimeoutMs = 1000;
}  // namespace

ParamOps::ParamOps(Link& link, EscView& view, Dialogs& dialogs) : link_(link), view_(view), dialogs_(dialogs) {}

void ParamOps::Button3Click()
{
    if (!link_.esc_required())
        return;
    link_.setStatus(QString::fromLatin1(status::kReading));
    link_.pumped_delay(1);
    const std::optional<SettingValues> values = decode_parameter_frame(link_.send0d());
    if (!values) {
        // send0d has shown the same box already; the second one is the
        // read operation's own report of the failure.
        link_.receive_data_error();
        return;
    }
    assign_list_values(view_, *values);
    if (onRead)
        onRead(*values);
    link_.setStatus(QString::fromLatin1(status::kReadOk));
    dialogs_.message(kPrompt, QString::fromLatin1(status::kReadOk), BoxIcon::None);
    link_.setStatus(kIdle);
}

void ParamOps::Button4Click()
{
    if (!link_.esc_required())
        return;
    link_.setStatus(QString::fromLatin1(status::kSending));
    const bool acknowledged = send03();
    link_.setStatus(QString::fromLatin1(status::kSendDone));
    if (acknowledged)
        dialogs_.message(kPrompt, QStringLiteral("Send parameter to ESC OK"), BoxIcon::None);
    link_.setStatus(kIdle);
}

void ParamOps::Button6Click()
{
    assign_list_values(view_, kDefaultSettings);
}

bool ParamOps::send03()
{
    const SettingValues values = list_values(view_);
    const std::optional<QString> frame = encode_parameter_frame(values);
    if (!frame)
        return refuseUnselected(first_unencodable_setting(values));

    link_.mscomm1send(QStringLiteral("03"));
    link_.pumped_delay(1);
    // Whatever the ESC said to the write request itself is not part of the
    // answer: the exchange clears it before the frame goes out.
    const auto answered = [](const QString& recv) { return recv.size() >= 2; };
    const QString reply = link_.exchange(*frame, {kReplyTimeoutMs, answered, Link::Pass::ProcessOnce, answered});
    if (answered(reply) && reply == kWriteAck)
        return true;
    link_.receive_data_error();
    link_.setStatus(kIdle);
    return false;
}

// A list without a selection has no byte in the frame. Sending a stand-in
// value would change the ESC behind the user's back, so the write is refused.
bool ParamOps::refuseUnselected(int pos)
{
    dialogs_.message(QString::fromLatin1(box_title::kError),
                     QStringLiteral("No value selected for %1. Choose one before downloading.")
                         .arg(QLatin1String(kSettingControls[pos].caption)),
                     BoxIcon::Error);
    link_.setStatus(kIdle);
    return false;
}
