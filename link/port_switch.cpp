// The port switch: the link moves to the port the user named in the port box,
// which is then probed so that the card on it can announce itself.

#include "link/link.h"
#include "link/status_texts.h"
#include "link/wire_codes.h"
#include "serial/tcomm.h"

Outcome Link::switch_port(const QString& portName)
{
    Outcome switched = Outcome::ok();
    setStatus(QString::fromLatin1(status::kSwitchPort));
    try {
        comm_.CloseComm();
        pumped_delay(5);
        comm_.SetCommName(portName);
        pumped_delay(0);
        comm_.OpenComm();
        pumped_delay(15);
    } catch (const ECommsError&) {
        switched = report(Outcome::Kind::NoAnswer, QString::fromLatin1(box_title::kCommError),
                          QStringLiteral(QT_TRANSLATE_NOOP("box_text", "Comm port open error！")));
    }
    // Should the switch have stopped before the new name was taken, the box
    // must not name a port the link is not on.
    if (comm_.CommName() != portName)
        view_.showPortName(comm_.CommName());
    st_.esc_ok = false;
    st_.cmd_mode = false;
    watchdog_.start();  // a running watchdog keeps its period
    send_code(request::kProbeCard);
    setStatus(QString::fromLatin1(status::kIdle));
    return switched;
}

void Link::port_box_changed(const QString& text)
{
    if (!run_command(Command([this, text] { return switch_port(text); }), CommandKind::Click))
        view_.showPortName(comm_.CommName());
}
