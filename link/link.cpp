#include "link/link.h"

#include "link/hex_text.h"
#include "link/status_texts.h"
#include "link/wire_codes.h"
#include "serial/tcomm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {
constexpr int kByteOnLineMs = 2;  // 0.52 ms at 19200 baud, with room
constexpr int kHandOverMs = 30;   // for the other side to take it before the close
}  // namespace

Link::Link(TComm& comm, SharedState& st, EscView& view, Dialogs& dialogs, WindowTimer& watchdog,
           WindowTimer& replyTimer, QObject* parent)
    : QObject(parent),
      comm_(comm),
      st_(st),
      view_(view),
      dialogs_(dialogs),
      watchdog_(watchdog),
      replyTimer_(replyTimer),
      labels_{QString::fromLatin1(kLabelsDesign.type), QString::fromLatin1(kLabelsDesign.hwVersion),
              QString::fromLatin1(kLabelsDesign.fwVersion)}
{
    comm_.OnReceiveData = [this](TComm* sender, const char* buffer, uint16_t length) {
        receive(sender, buffer, length);
    };
    connect(&replyTimer_, &WindowTimer::tick, this, &Link::reply_timeout);
    watchdog_.setDeferWhile([this] { return holding_back(); });
}

Link::~Link()
{
    // The port may outlive the link by a moment at shut-down.
    comm_.OnReceiveData = nullptr;
    watchdog_.setDeferWhile(nullptr);
}

void Link::setStatus(const QString& text)
{
    view_.showStatus(text);
}

void Link::send(const QByteArray& bytes)
{
    // A request is sent whole or not at all.
    if (bytes.isEmpty() || bytes.size() > kMaxRequestBytes)
        return;
    comm_.SendData(bytes.constData(), static_cast<uint16_t>(bytes.size()));
}

void Link::keep_stop_byte_ready(bool ready)
{
    if (ready)
        comm_.ArmEmergencyByte(request::kReleaseMotor);
    else
        comm_.DisarmEmergencyByte();
}

void Link::wait_sent(int maxMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!comm_.SendIdle() && waited.elapsed() < maxMs)
        QThread::msleep(1);
    // Closing the port clears what the driver still holds, and a pseudo-
    // terminal's peer or a USB adapter may not have taken the byte yet even
    // once the driver reports its queue empty: the close waits a little longer.
    QThread::msleep(kByteOnLineMs + kHandOverMs);
}

void Link::receive(TComm*, const char* buffer, uint16_t bufferLength)
{
    const QString text = to_hex_text(buffer, bufferLength);
    if (st_.cmd_mode) {
        st_.recv_str += text;
        return;
    }
    // The card's unasked status: three tests, each independent of the others.
    if (text == reply::kCardHere) {
        view_.showCardLamp(true);
        watchdog_.stop();
        st_.auto_search = false;
        send_code(request::kIdentifyEsc);
        watchdog_.start();
    }
    if (text.startsWith(reply::kIdentification)) {
        watchdog_.stop();
        st_.esc_ok = false;
        view_.showEscLamp(false);
        set_esc_labels(kLabelsUnknown);
    }
    if (text.size() == 8 && text.startsWith(reply::kIdentification)) {
        show_identification(text);
        st_.esc_ok = true;
        watchdog_.stop();
        setStatus(QString::fromLatin1(status::kIdle));
        start_speed_test_in_speed_mode();
    }
}

void Link::start_speed_test_in_speed_mode()
{
    if (view_.selectedMode() == OperationMode::Speed && start_speed_test)
        start_speed_test();
}

void Link::reply_timeout()
{
    st_.time_out = true;
    replyTimer_.stop();
}

void Link::pumped_delay(int n)
{
    if (n < 0)
        return;
    if (n == 0) {
        QCoreApplication::processEvents();
        return;
    }
    for (int pass = 0; pass <= n; ++pass) {
        QThread::msleep(1);
        QCoreApplication::processEvents();
    }
}

void Link::reply_wait(int intervalMs, const std::function<bool(const QString& recv)>& done, Pass pass)
{
    st_.time_out = false;
    replyTimer_.stop();
    replyTimer_.setInterval(intervalMs);
    replyTimer_.start();
    while (!st_.time_out && !on_lost_port()) {
        if (pass == Pass::Sleep1msThenProcess)
            QThread::msleep(1);
        // Blocks until the next event (a received block, a tick, a click) and
        // handles it; the reply timer's tick bounds the wait. A reply that is already
        // complete must not wait for another event: that pass only looks.
        const bool complete = done(st_.recv_str);
        QCoreApplication::processEvents(complete ? QEventLoop::AllEvents : QEventLoop::WaitForMoreEvents);
        if (pass == Pass::ProcessTwice)
            QCoreApplication::processEvents();
        if (done(st_.recv_str))
            break;
        // Should anything else end the reply timer, no tick would come to end the wait.
        if (!replyTimer_.isActive())
            break;
    }
    replyTimer_.stop();
}

bool Link::on_lost_port() const
{
    return !lost_port_.isEmpty() && !comm_.IsOpen() && comm_.CommName() == lost_port_;
}

QString Link::exchange(const QByteArray& request, const ReplyWait& wait, const std::function<void()>& whileInFlight)
{
    st_.recv_str.clear();
    st_.cmd_mode = true;
    send(request);
    if (whileInFlight)
        whileInFlight();
    reply_wait(wait.intervalMs, wait.done, wait.pass);
    const QString reply = st_.recv_str;
    if (!wait.taken || wait.taken(reply))
        st_.recv_str.clear();
    return reply;
}

QString Link::await_more(const ReplyWait& wait)
{
    st_.cmd_mode = true;
    reply_wait(wait.intervalMs, wait.done, wait.pass);
    const QString reply = st_.recv_str;
    if (!wait.taken || wait.taken(reply))
        st_.recv_str.clear();
    return reply;
}

QString Link::take_received()
{
    QString received;
    received.swap(st_.recv_str);
    return received;
}

Outcome Link::report(Outcome::Kind kind, const QString& title, const QString& text)
{
    dialogs_.message(title, text, BoxIcon::Error);
    return Outcome::fail(kind, text);
}

Outcome Link::receive_data_error(Outcome::Kind kind)
{
    Outcome failed = report(kind, QString::fromLatin1(box_title::kCommError),
                            QStringLiteral(QT_TRANSLATE_NOOP("box_text", "Receive data error")));
    setStatus(QString::fromLatin1(status::kIdle));
    return failed;
}

Outcome Link::require_esc()
{
    if (st_.esc_ok)
        return Outcome::ok();
    return report(Outcome::Kind::Refused, QString::fromLatin1(box_title::kCommError),
                  QStringLiteral(QT_TRANSLATE_NOOP("box_text", "Hardware not connect,please connect first")));
}

Outcome Link::read_settings_frame(QString& frame)
{
    constexpr int kFrameChars = 18;
    const auto whole = [](const QString& r) { return r.size() >= kFrameChars; };
    // Only a reply of exactly one frame ends the wait early; a longer one is
    // seen after the full second.
    const QString reply =
        exchange(QByteArray(1, request::kReadSettings),
                 {1000, [](const QString& r) { return r.size() == kFrameChars; }, Pass::ProcessOnce, whole});
    if (!whole(reply) || !reply.startsWith(reply::kSettingsFrame))
        return receive_data_error();
    frame = reply;
    return Outcome::ok();
}

void Link::set_esc_labels(const EscLabelTexts& texts)
{
    labels_ = {QString::fromLatin1(texts.type), QString::fromLatin1(texts.hwVersion),
               QString::fromLatin1(texts.fwVersion)};
    view_.showEscLabels(labels_.type, labels_.hwVersion, labels_.fwVersion);
}

void Link::show_identification(const QString& reply)
{
    if (reply.size() != 8)
        return;
    view_.showEscLamp(true);
    const Identification id = decode_identification(reply);
    if (id.model)
        st_.fw_group = id.model->group;
    model_label_ = id.model ? QString::fromLatin1(id.model->label) : QString();
    labels_ = {id.type, id.hwVersion, id.fwVersion};
    view_.showEscLabels(labels_.type, labels_.hwVersion, labels_.fwVersion);
}

void Link::set_port_list(const QStringList& ports)
{
    ports_ = ports;
    view_.showPortList(ports_);
}

QString Link::port_in_use() const
{
    return comm_.CommName();
}

void Link::arm_search()
{
    watchdog_.start();
    st_.cmd_mode = false;
    st_.esc_ok = false;
    st_.auto_search = true;
    send_code(request::kProbeCard);
}
