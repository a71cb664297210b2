#include "params/param_ops.h"

#include "link/link.h"
#include "params/parameter_frame.h"
#include "params/setting_keys.h"
#include "params/setting_lists.h"

namespace {
const QString kIdle = QString::fromLatin1(kStatusIdle);
const QString kCommError = QStringLiteral("Comm error");
const QString kNotConnected = QStringLiteral("Hardware not connect,please connect first");
const QString kPrompt = QStringLiteral("Prompt");
const QString kReadOk = QStringLiteral("Reading ESC parameter OK");
const QString kWriteAck = QStringLiteral("55");
constexpr int kReplyTimeoutMs = 1000;
}  // namespace

ParamOps::ParamOps(Link& link, QWidget* form) : link_(link), form_(form) {}

void ParamOps::Button3Click()
{
    if (!link_.state().esc_ok) {
        link_.dialogs().message(kCommError, kNotConnected, BoxIcon::Error);
        return;
    }
    link_.setStatus(QStringLiteral("Reading ESC parameter "));
    link_.pumped_delay(1);
    const std::optional<SettingValues> values = decode_parameter_frame(link_.send0d());
    if (!values) {
        // send0d has shown the same box already; the second one is the
        // read operation's own report of the failure.
        link_.receive_data_error();
        return;
    }
    assign_list_values(form_, *values);
    link_.setStatus(kReadOk);
    link_.dialogs().message(kPrompt, kReadOk, BoxIcon::None);
    link_.setStatus(kIdle);
}

void ParamOps::Button4Click()
{
    if (!link_.state().esc_ok) {
        link_.dialogs().message(kCommError, kNotConnected, BoxIcon::Error);
        return;
    }
    link_.setStatus(QStringLiteral("Send parameter to ESC"));
    const bool acknowledged = send03();
    link_.setStatus(QStringLiteral("Send parameter done"));
    if (acknowledged)
        link_.dialogs().message(kPrompt, QStringLiteral("Send parameter to ESC OK"), BoxIcon::None);
    link_.setStatus(kIdle);
}

void ParamOps::Button6Click()
{
    assign_list_values(form_, kDefaultSettings);
}

bool ParamOps::send03()
{
    const SettingValues values = list_values(form_);
    const std::optional<QString> frame = encode_parameter_frame(values);
    if (!frame)
        return refuseUnselected(first_unencodable_setting(values));

    SharedState& st = link_.state();
    link_.mscomm1send(QStringLiteral("03"));
    link_.pumped_delay(1);
    // Whatever the ESC said to the write request itself is not part of the answer.
    st.recv_str.clear();
    st.cmd_mode = true;
    link_.mscomm1send(*frame);
    link_.reply_wait(kReplyTimeoutMs, [](const QString& recv) { return recv.size() >= 2; });

    if (st.recv_str.size() >= 2) {
        const QString reply = st.recv_str;
        st.recv_str.clear();
        if (reply == kWriteAck)
            return true;
    }
    link_.receive_data_error();
    link_.setStatus(kIdle);
    return false;
}

// A list without a selection has no byte in the frame. Sending a stand-in
// value would change the ESC behind the user's back, so the write is refused.
bool ParamOps::refuseUnselected(int pos)
{
    link_.dialogs().message(QStringLiteral("Error"),
                            QStringLiteral("No value selected for %1. Choose one before downloading.")
                                .arg(QLatin1String(kSettingControls[pos].caption)),
                            BoxIcon::Error);
    link_.setStatus(kIdle);
    return false;
}
