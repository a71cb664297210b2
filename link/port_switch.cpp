// The port switch: the link moves to the port the user named in the port box,
// which is then probed so that the card on it can announce itself.

#include "link/link.h"
#include "serial/tcomm.h"

#include <QComboBox>

void Link::cmbbxcomnumChange()
{
    setStatus(QStringLiteral("Start switch port"));
    try {
        comm_.CloseComm();
        pumped_delay(5);
        comm_.SetCommName(ui_.cmbbxcomnum->currentText());
        pumped_delay(0);
        comm_.OpenComm();
        pumped_delay(15);
    } catch (const ECommsError&) {
        dialogs_.message(QStringLiteral("Comm error"), QStringLiteral("Comm port open error") + QChar(0xFF01),
                         BoxIcon::Error);
    }
    st_.esc_ok = false;
    st_.cmd_mode = false;
    timer1_.start();  // a running watchdog keeps its period
    mscomm1send(QStringLiteral("35"));
    setStatus(kStatusIdle);
}
