#include "link/link.h"

#include "link/hex_text.h"
#include "link/lamp.h"
#include "serial/tcomm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QRadioButton>
#include <QThread>

Link::Link(TComm& comm, SharedState& st, const LinkUi& ui, Dialogs& dialogs, WindowTimer& timer1,
           WindowTimer& timer2, QObject* parent)
    : QObject(parent), comm_(comm), st_(st), ui_(ui), dialogs_(dialogs), timer1_(timer1), timer2_(timer2)
{
    comm_.OnReceiveData = [this](TComm* sender, const char* buffer, uint16_t length) {
        Comm1ReceiveData(sender, buffer, length);
    };
    connect(&timer2_, &WindowTimer::tick, this, &Link::Timer2Timer);
    timer1_.setDeferWhile([this] { return busy(); });
}

Link::~Link()
{
    // Comm1 may outlive the link by a moment at shut-down.
    comm_.OnReceiveData = nullptr;
    timer1_.setDeferWhile(nullptr);
}

void Link::setStatus(const QString& text)
{
    if (ui_.Label15)
        ui_.Label15->setText(text);
}

void Link::mscomm1send(const QString& hexText)
{
    const std::optional<QByteArray> bytes = request_bytes(hexText);
    if (!bytes || bytes->isEmpty())
        return;
    comm_.SendData(bytes->constData(), static_cast<uint16_t>(bytes->size()));
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
        set_lamp(ui_.shcom, true);
        timer1_.stop();
        st_.auto_search = false;
        mscomm1send(QStringLiteral("50"));
        timer1_.start();
    }
    if (text.startsWith(QLatin1String("50"))) {
        timer1_.stop();
        st_.esc_ok = false;
        set_lamp(ui_.Shdt, false);
        set_esc_labels(kLabelsUnknown);
    }
    if (text.size() == 8 && text.startsWith(QLatin1String("50"))) {
        show_identification(text);
        st_.esc_ok = true;
        timer1_.stop();
        setStatus(kStatusIdle);
        if (ui_.RadioButton2 && ui_.RadioButton2->isChecked() && start_speed_test)
            start_speed_test();
    }
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
    while (!st_.time_out) {
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

void Link::receive_data_error()
{
    dialogs_.message(QStringLiteral("Comm error"), QStringLiteral("Receive data error"), BoxIcon::Error);
    setStatus(kStatusIdle);
}

QString Link::send0d()
{
    constexpr int kFrameChars = 18;
    st_.recv_str.clear();
    mscomm1send(QStringLiteral("0D"));
    st_.cmd_mode = true;
    reply_wait(1000, [](const QString& r) { return r.size() == kFrameChars; });
    if (st_.recv_str.size() < kFrameChars) {
        receive_data_error();
        return QStringLiteral("00");
    }
    const QString reply = st_.recv_str;
    st_.recv_str.clear();
    if (!reply.startsWith(QLatin1String("43"))) {
        receive_data_error();
        return QStringLiteral("00");
    }
    return reply;
}

void Link::set_esc_labels(const EscLabelTexts& texts)
{
    ui_.Label2->setText(QString::fromLatin1(texts.type));
    ui_.Label3->setText(QString::fromLatin1(texts.hwVersion));
    ui_.Label4->setText(QString::fromLatin1(texts.fwVersion));
}

void Link::show_identification(const QString& reply)
{
    if (reply.size() != 8)
        return;
    set_lamp(ui_.Shdt, true);
    const Identification id = decode_identification(reply);
    if (id.model)
        st_.fw_group = id.model->group;
    model_label_ = id.model ? QString::fromLatin1(id.model->label) : QString();
    ui_.Label2->setText(id.type);
    ui_.Label3->setText(id.hwVersion);
    ui_.Label4->setText(id.fwVersion);
}
