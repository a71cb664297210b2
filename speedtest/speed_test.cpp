#include "speedtest/speed_test.h"

#include "link/hex_text.h"
#include "link/link.h"
#include "serial/tcomm.h"
#include "speedtest/speed_math.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QThread>

namespace {

const QString kIdle = QStringLiteral("Wait user command");
const QString kTesting = QStringLiteral("Testing rotate speed..");
constexpr int kAnswerWaitMs = 20;
constexpr int kAnswerChars = 4;  // two bytes of period, high byte first
constexpr int kSendDrainMs = 100;
constexpr int kByteOnLineMs = 2;  // 0.52 ms at 19200 baud, with room

template <class T>
T* control(QWidget* form, const char* name)
{
    T* w = form->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("The main window has no control %s", name);
    return w;
}

}  // namespace

SpeedTest::SpeedTest(Link& link, QWidget* form, WindowTimer& timer3)
    : link_(link),
      timer3_(timer3),
      RadioButton1(control<QRadioButton>(form, "RadioButton1")),
      RadioButton2(control<QRadioButton>(form, "RadioButton2")),
      TrackBar1(control<QSlider>(form, "TrackBar1")),
      UpDown1(control<QSpinBox>(form, "UpDown1")),
      Edit1(control<QLineEdit>(form, "Edit1")),
      Edit2(control<QLineEdit>(form, "Edit2")),
      Edit3(control<QLineEdit>(form, "Edit3"))
{
    for (const char* name :
         {"Button2",   "Button7",   "Button8",   "Button3",   "Button6",   "Button4",  "Label5",
          "Label6",    "Label7",    "Label8",    "Label9",    "Label10",   "Label12",  "ComboBox1",
          "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox7"})
        parameterControls_.push_back(control<QWidget>(form, name));
    speedControls_ = {TrackBar1, Edit3, Edit1, Edit2, UpDown1};
    for (const char* name : {"Label18", "Label16", "Label14", "Label17"})
        speedControls_.push_back(control<QWidget>(form, name));
}

void SpeedTest::showParameterMode(bool parameterMode)
{
    for (QWidget* w : parameterControls_)
        w->setEnabled(parameterMode);
    for (QWidget* w : speedControls_)
        w->setEnabled(!parameterMode);
}

void SpeedTest::RadioButton2Click()
{
    showParameterMode(false);
    if (link_.state().esc_ok)
        start_speed_test();
    // Without an ESC the ticks keep the status line telling the user so.
    polling_ = true;
    timer3_.start();
    link_.setStatus(kTesting);
}

void SpeedTest::RadioButton1Click()
{
    showParameterMode(true);
    if (link_.state().esc_ok)
        link_.mscomm1send(QStringLiteral("FF"));
    polling_ = false;
    timer3_.stop();
    link_.setStatus(kIdle);
}

void SpeedTest::start_speed_test()
{
    if (closing_)
        return;
    link_.mscomm1send(QStringLiteral("06"));
    polling_ = true;
    timer3_.start();
    link_.state().throttle_armed = false;
}

void SpeedTest::beforeClose()
{
    closing_ = true;
    polling_ = false;
    timer3_.stop();
    if (!RadioButton2->isChecked() || !link_.state().esc_ok)
        return;
    link_.mscomm1send(QStringLiteral("FF"));
    // Closing the port discards what is still queued, so the byte has to be
    // on its way first: handed to the driver, and the line time of one byte.
    QElapsedTimer waited;
    waited.start();
    while (!link_.comm().SendIdle() && waited.elapsed() < kSendDrainMs)
        QThread::msleep(1);
    QThread::msleep(kByteOnLineMs);
}

void SpeedTest::TrackBar1Change()
{
    Edit1->setText(QString::number(TrackBar1->value()) + QStringLiteral("us"));
}

void SpeedTest::UpDown1Click()
{
    Edit2->setText(QString::number(UpDown1->value()));
}

void SpeedTest::Timer3Timer()
{
    if (RadioButton1->isChecked() || closing_)
        return;
    if (!link_.state().esc_ok) {
        link_.setStatus(kIdle);
        return;
    }
    // No tick may run during the exchange: the wait below processes messages.
    timer3_.stop();
    poll();
    // A switch to Parameter or a close inside the wait has ended the poll.
    if (polling_)
        timer3_.start();
}

void SpeedTest::poll()
{
    SharedState& st = link_.state();
    // The slider is read once, here: a move during the exchange belongs to the next tick.
    const int position = TrackBar1->value();
    if (position < speed::kArmBelow)
        Edit3->setText(QStringLiteral("0"));
    const int code = speed::throttle_code(position, st.throttle_armed);

    st.recv_str.clear();
    link_.mscomm1send(QString::asprintf("%02X", code));
    st.cmd_mode = true;
    link_.reply_wait(kAnswerWaitMs, [](const QString& recv) { return recv.size() == kAnswerChars; });
    if (st.recv_str.size() != kAnswerChars)
        return;  // no answer or a garbled one: the tick is dropped
    const QString answer = st.recv_str;
    st.recv_str.clear();

    const int64_t period = hex_to_int(answer);
    const int32_t sample = speed::period_to_rpm(period, UpDown1->value());
    speed::RpmFilter filter{st.rpm_value, st.rpm_count};
    if (const auto shown = filter.add(sample)) {
        Edit3->setText(QString::number(*shown));
        link_.pumped_delay(2);
    }
}
