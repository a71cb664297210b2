// Hardware discovery: the search for the setting card over the listed ports,
// the ESC identification behind it, and the start-up watchdog.

#include "link/link.h"
#include "link/status_texts.h"
#include "serial/tcomm.h"

#include <QThread>

namespace {

constexpr int kReplyWaitMs = 1000;
constexpr int kPortSettleDelay = 15;

}  // namespace

void Link::Button5Click()
{
    setStatus(QString::fromLatin1(status::kPerformCommand));
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
    view_.showPortName(port);
    try {
        comm_.OpenComm();
        pumped_delay(kPortSettleDelay);
    } catch (const ECommsError&) {
        // The probe below goes nowhere and the port is passed over.
    }
    // From here on the search answers for the card; the watchdog has no more to say.
    timer1_.stop();
    const QString reply =
        exchange(QStringLiteral("35"), {kReplyWaitMs, [](const QString& r) { return r.size() > 3; }});
    return reply == QLatin1String("2501");
}

void Link::identify_esc()
{
    const QString reply =
        exchange(QStringLiteral("50"), {kReplyWaitMs, [](const QString& r) { return r.size() > 7; }});
    if (reply.size() == 8 && reply != QLatin1String("50000000")) {
        show_identification(reply);
        st_.esc_ok = true;
        start_speed_test_in_speed_mode();
    } else {
        st_.esc_ok = false;
        view_.showEscLamp(false);
        set_esc_labels(kLabelsNoEsc);
    }
}

void Link::findbord()
{
    const QString idle = QString::fromLatin1(status::kIdle);
    const bool quiet = st_.auto_search;
    comm_.CloseComm();
    setStatus(QString::fromLatin1(status::kFinding));

    const QStringList ports = ports_;  // a list changed during the search does not change its steps
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
            view_.showCardLamp(false);
            st_.cmd_mode = false;
            st_.esc_ok = false;
            view_.showEscLamp(false);
            set_esc_labels(kLabelsUnknown);
            setStatus(idle);
        } else {
            setStatus(QString::fromLatin1(status::kSearchResult));
            dialogs_.message(QStringLiteral("not find hardware"),
                             QStringLiteral("can not find hardware,please confirm:\r\n"
                                            "  1.Hardware port connect.\r\n"
                                            "  2.Hardware power."),
                             BoxIcon::Error);
            setStatus(idle);
            view_.showCardLamp(false);
            view_.showEscLamp(false);
            set_esc_labels(kLabelsUnknown);
            st_.esc_ok = false;
        }
        return;
    }

    identify_esc();
    st_.cmd_mode = false;
    view_.showCardLamp(true);
    if (quiet) {
        setStatus(idle);
        st_.auto_search = false;
        return;
    }
    setStatus(QString::fromLatin1(status::kSearchResult));
    QString text = QStringLiteral("find setting card connected with") + ports[found] + QStringLiteral("\r\n");
    if (labels_.fwVersion == QLatin1String(kLabelsNoEsc.fwVersion))
        text += QStringLiteral("not find ESC");
    else
        text += QStringLiteral("and find ESC") + model_label_;
    dialogs_.message(QStringLiteral("Find hardware"), text, BoxIcon::None);
    st_.cmd_mode = false;
    setStatus(idle);
}

void Link::Timer1Timer()
{
    timer1_.stop();
    if (st_.auto_search) {
        findbord();
        return;
    }
    dialogs_.message(QString::fromLatin1(box_title::kCommError), QString::fromLatin1(kHardwareNotConnect),
                     BoxIcon::Error);
    view_.showCardLamp(false);
    setStatus(QString::fromLatin1(status::kCommError));
    st_.esc_ok = false;
}
