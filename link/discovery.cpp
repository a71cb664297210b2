// Hardware discovery: the search for the setting card over the listed ports,
// the ESC identification behind it, and the start-up watchdog.

#include "link/link.h"
#include "link/status_texts.h"
#include "link/wire_codes.h"
#include "serial/tcomm.h"

#include <QCoreApplication>
#include <QThread>

namespace {

constexpr int kReplyWaitMs = 1000;
constexpr int kPortSettleDelay = 15;

}  // namespace

Outcome Link::search_by_user()
{
    setStatus(QString::fromLatin1(status::kPerformCommand));
    try {
        comm_.OpenComm();
    } catch (const ECommsError&) {
        // Already open, or no such port: the search below tries every port anyway.
    }
    pumped_delay(1);
    return search();
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
    watchdog_.stop();
    const QString reply =
        exchange(QByteArray(1, request::kProbeCard), {kReplyWaitMs, [](const QString& r) { return r.size() > 3; }});
    return reply == reply::kCardHere;
}

void Link::identify_esc()
{
    const QString reply =
        exchange(QByteArray(1, request::kIdentifyEsc), {kReplyWaitMs, [](const QString& r) { return r.size() > 7; }});
    if (reply.size() == 8 && reply != reply::kNoEsc) {
        show_identification(reply);
        st_.esc_ok = true;
        start_speed_test_in_speed_mode();
    } else {
        st_.esc_ok = false;
        view_.showEscLamp(false);
        set_esc_labels(kLabelsNoEsc);
    }
}

Outcome Link::search()
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
            return Outcome::fail(Outcome::Kind::NoAnswer);
        }
        setStatus(QString::fromLatin1(status::kSearchResult));
        // Marked for the window, which shows them translated.
        Outcome none = report(Outcome::Kind::NoAnswer,
                              QStringLiteral(QT_TRANSLATE_NOOP("box_title", "not find hardware")),
                              QStringLiteral(QT_TRANSLATE_NOOP("box_text",
                                                               "can not find hardware,please confirm:\r\n"
                                                               "  1.Hardware port connect.\r\n"
                                                               "  2.Hardware power.")));
        setStatus(idle);
        view_.showCardLamp(false);
        view_.showEscLamp(false);
        set_esc_labels(kLabelsUnknown);
        st_.esc_ok = false;
        return none;
    }

    identify_esc();
    st_.cmd_mode = false;
    view_.showCardLamp(true);
    if (quiet) {
        setStatus(idle);
        st_.auto_search = false;
        return Outcome::ok();
    }
    setStatus(QString::fromLatin1(status::kSearchResult));
    // In the user's language where the program has translations (the
    // window's); the English bytes as they always were.
    QString text =
        QCoreApplication::translate("box_text", "find setting card connected with%1\r\n").arg(ports[found]);
    if (labels_.fwVersion == QLatin1String(kLabelsNoEsc.fwVersion))
        text += QCoreApplication::translate("box_text", "not find ESC");
    else
        text += QCoreApplication::translate("box_text", "and find ESC%1").arg(model_label_);
    dialogs_.message(QStringLiteral(QT_TRANSLATE_NOOP("box_title", "Find hardware")), text, BoxIcon::None);
    st_.cmd_mode = false;
    setStatus(idle);
    return Outcome::ok(text);
}

Outcome Link::search(SearchReport report)
{
    st_.auto_search = report == SearchReport::Quiet;
    return search();
}

Outcome Link::watchdog_expired()
{
    watchdog_.stop();
    if (st_.auto_search)
        return search();
    Outcome gone = report(Outcome::Kind::NoAnswer, QString::fromLatin1(box_title::kCommError),
                          QString::fromLatin1(kHardwareNotConnect));
    view_.showCardLamp(false);
    setStatus(QString::fromLatin1(status::kCommError));
    st_.esc_ok = false;
    return gone;
}
