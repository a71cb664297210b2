#include "link/link.h"

#include "link/hex_text.h"
#include "link/status_texts.h"
#include "serial/tcomm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {
constexpr int kByteOnLineMs = 2;  // 0.52 ms at 19200 baud, with room
constexpr int kHandOverMs = 30;   // for the other side to take it before the close
}  // namespace

Link::Link(TComm& comm, SharedState& st, EscView& view, Dialogs& dialogs, WindowTimer& timer1,
           WindowTimer& timer2, QObject* parent)
    : QObject(parent),
      comm_(comm),
      st_(st),
      view_(view),
      dialogs_(dialogs),
      timer1_(timer1),
      timer2_(timer2),
      labels_{QString::fromLatin1(kLabelsDesign.type), QString::fromLatin1(kLabelsDesign.hwVersion),
              QString::fromLatin1(kLabelsDesign.fwVersion)}
{
    comm_.OnReceiveData = [this](TComm* sender, const char* buffer, uint16_t length) {
        Comm1ReceiveData(sender, buffer, length);
    };
    connect(&timer2_, &WindowTimer::tick, this, &Link::Timer2Timer);
    timer1_.setDeferWhile([this] { return holding_back(); });
}

Link::~Link()
{
    // Comm1 may outlive the link by a moment at shut-down.
    comm_.OnReceiveData = nullptr;
    timer1_.setDeferWhile(nullptr);
}

void Link::setStatus(const QString& text)
{
    view_.showStatus(text);
}

void Link::mscomm1send(const QString& hexText)
{
    const std::optional<QByteArray> bytes = request_bytes(hexText);
    if (!bytes || bytes->isEmpty())
        return;
    comm_.SendData(bytes->constData(), static_cast<uint16_t>(bytes->size()));
}

void Link::keep_stop_byte_ready(bool ready)
{
    if (ready)
        comm_.ArmEmergencyByte(0xFF);
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

void Link::Comm1ReceiveData(TComm*, const char* buffer, uint16_t bufferLength)
{
    const QString text = to_hex_text(buffer, bufferLength);
    if (st_.cmd_mode) {
        st_.recv_str += text;
        return;
    }
    // The card's unasked status: three tests, each independent of the others.
    if (text == QLatin1String("2501")) {
        view_.showCardLamp(true);
        timer1_.stop();
        st_.auto_search = false;
        mscomm1send(QStringLiteral("50"));
        timer1_.start();
    }
    if (text.startsWith(QLatin1String("50"))) {
        timer1_.stop();
        st_.esc_ok = false;
        view_.showEscLamp(false);
        set_esc_labels(kLabelsUnknown);
    }
    if (text.size() == 8 && text.startsWith(QLatin1String("50"))) {
        show_identification(text);
        st_.esc_ok = true;
        timer1_.stop();
        setStatus(QString::fromLatin1(status::kIdle));
        start_speed_test_in_speed_mode();
    }
}

void Link::start_speed_test_in_speed_mode()
{
    if (view_.selectedMode() == OperationMode::Speed && start_speed_test)
        start_speed_test();
}

void Link::Timer2Timer()
{
    st_.time_out = true;
    timer2_.stop();
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
    timer2_.stop();
    timer2_.setInterval(intervalMs);
    timer2_.start();
    while (!st_.time_out && !on_lost_port()) {
        if (pass == Pass::Sleep1msThenProcess)
            QThread::msleep(1);
        // Blocks until the next event (a received block, a tick, a click) and
        // handles it; Timer2's tick bounds the wait. A reply that is already
        // complete must not wait for another event: that pass only looks.
        const bool complete = done(st_.recv_str);
        QCoreApplication::processEvents(complete ? QEventLoop::AllEvents : QEventLoop::WaitForMoreEvents);
        if (pass == Pass::ProcessTwice)
            QCoreApplication::processEvents();
        if (done(st_.recv_str))
            break;
        // Should anything else end Timer2, no tick would come to end the wait.
        if (!timer2_.isActive())
            break;
    }
    timer2_.stop();
}

bool Link::on_lost_port() const
{
    return !lost_port_.isEmpty() && !comm_.IsOpen() && comm_.CommName() == lost_port_;
}

QString Link::exchange(const QString& request, const ReplyWait& wait, const std::function<void()>& whileInFlight)
{
    st_.recv_str.clear();
    st_.cmd_mode = true;
    mscomm1send(request);
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

void Link::receive_data_error()
{
    dialogs_.message(QString::fromLatin1(box_title::kCommError), QStringLiteral("Receive data error"),
                     BoxIcon::Error);
    setStatus(QString::fromLatin1(status::kIdle));
}

bool Link::esc_required()
{
    if (st_.esc_ok)
        return true;
    dialogs_.message(QString::fromLatin1(box_title::kCommError),
                     QStringLiteral("Hardware not connect,please connect first"), BoxIcon::Error);
    return false;
}

QString Link::send0d()
{
    constexpr int kFrameChars = 18;
    const auto whole = [](const QString& r) { return r.size() >= kFrameChars; };
    // Only a reply of exactly one frame ends the wait early; a longer one is
    // seen after the full second.
    const QString reply = exchange(
        QStringLiteral("0D"), {1000, [](const QString& r) { return r.size() == kFrameChars; }, Pass::ProcessOnce, whole});
    if (!whole(reply) || !reply.startsWith(QLatin1String("43"))) {
        receive_data_error();
        return QStringLiteral("00");
    }
    return reply;
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
    timer1_.start();
    st_.cmd_mode = false;
    st_.esc_ok = false;
    st_.auto_search = true;
    mscomm1send(QStringLiteral("35"));
}
