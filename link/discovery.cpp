// Hardware discovery: the search for the setting card over the listed ports,
// the ESC identification behind it, and the start-up watchdog.

#include "link/lamp.h"
#include "link/link.h"
#include "serial/tcomm.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QThread>

namespace {

constexpr int kReplyWaitMs = 1000;
constexpr int kPortSettleDelay = 15;

QStringList port_list(const QComboBox* box)
{
    QStringList ports;
    for (int i = 0; i < box->count(); ++i)
        ports << box->itemText(i);
    return ports;
}

}  // namespace

void Link::Button5Click()
{
    setStatus(QStringLiteral("Start perform command--------"));
    try {
        comm_.OpenComm();
    } catch (const ECommsError&) {
        // Already open, or no such port: the search below tries every port anyway.
    }
    pumped_delay(1);
    findbord();
}

bool Link::probe_port(const QString& port)
{
    comm_.SetCommName(port);
    ui_.cmbbxcomnum->setEditText(port);
    try {
        comm_.OpenComm();
        pumped_delay(kPortSettleDelay);
    } catch (const ECommsError&) {
        // The probe below goes nowhere and the port is passed over.
    }
    st_.recv_str.clear();
    st_.cmd_mode = true;
    mscomm1send(QStringLiteral("35"));
    timer1_.stop();
    reply_wait(kReplyWaitMs, [](const QString& r) { return r.size() > 3; });
    return st_.recv_str == QLatin1String("2501");
}

void Link::identify_esc()
{
    st_.recv_str.clear();
    st_.cmd_mode = true;
    mscomm1send(QStringLiteral("50"));
    reply_wait(kReplyWaitMs, [](const QString& r) { return r.size() > 7; });
    if (st_.recv_str.size() == 8 && st_.recv_str != QLatin1String("50000000")) {
        show_identification(st_.recv_str);
        st_.esc_ok = true;
        if (ui_.RadioButton2 && ui_.RadioButton2->isChecked() && start_speed_test)
            start_speed_test();
    } else {
        st_.esc_ok = false;
        set_lamp(ui_.Shdt, false);
        set_esc_labels(kLabelsNoEsc);
    }
}

void Link::findbord()
{
    const bool quiet = st_.auto_search;
    comm_.CloseComm();
    setStatus(QStringLiteral("auto finding hardware...."));

    const QStringList ports = port_list(ui_.cmbbxcomnum);
    qsizetype found = -1;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        if (probe_port(ports[i])) {
            found = i;
            break;
        }
        comm_.CloseComm();
        pumped_delay(kPortSettleDelay);
    }

    if (found < 0) {
        if (quiet) {
            st_.auto_search = false;
            QThread::msleep(100);  // deliberately without handling events
            set_lamp(ui_.shcom, false);
            st_.cmd_mode = false;
            st_.esc_ok = false;
            set_lamp(ui_.Shdt, false);
            set_esc_labels(kLabelsUnknown);
            setStatus(kStatusIdle);
        } else {
            setStatus(QStringLiteral("search result"));
            dialogs_.message(QStringLiteral("not find hardware"),
                             QStringLiteral("can not find hardware,please confirm:\r\n"
                                            "  1.Hardware port connect.\r\n"
                                            "  2.Hardware power."),
                             BoxIcon::Error);
            setStatus(kStatusIdle);
            set_lamp(ui_.shcom, false);
            set_lamp(ui_.Shdt, false);
            set_esc_labels(kLabelsUnknown);
            st_.esc_ok = false;
        }
        return;
    }

    identify_esc();
    st_.cmd_mode = false;
    set_lamp(ui_.shcom, true);
    if (quiet) {
        setStatus(kStatusIdle);
        st_.auto_search = false;
        return;
    }
    setStatus(QStringLiteral("search result"));
    QString text = QStringLiteral("find setting card connected with") + ports[found] + QStringLiteral("\r\n");
    if (ui_.Label4->text() == QLatin1String(kLabelsNoEsc.fwVersion))
        text += QStringLiteral("not find ESC");
    else
        text += QStringLiteral("and find ESC") + model_label_;
    dialogs_.message(QStringLiteral("Find hardware"), text, BoxIcon::None);
    st_.cmd_mode = false;
    setStatus(kStatusIdle);
}

void Link::Timer1Timer()
{
    timer1_.stop();
    if (st_.auto_search) {
        findbord();
        return;
    }
    dialogs_.message(QStringLiteral("Comm error"),
                     QStringLiteral("Hardware not connect or Comm port select error"), BoxIcon::Error);
    set_lamp(ui_.shcom, false);
    setStatus(QStringLiteral("Comm error"));
    st_.esc_ok = false;
}
