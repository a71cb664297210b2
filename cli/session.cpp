#include "cli/session.h"

#include "cli/console_out.h"
#include "serial/link_trace.h"
#include "serial/port_holders.h"
#include "serial/port_list.h"

#include <cerrno>

namespace cli {

Session::Session(const QString& programDir, bool answerYes)
    : dialogs(answerYes),
      core(view, dialogs, {.programDir = programDir, .watchdog = false, .followPortLoss = false, .watcher = nullptr})
{
}

Session::Found Session::find(const QString& port, bool userSearch)
{
    core.link().set_port_list(port.isEmpty() ? list_serial_ports() : QStringList{port});
    const Link::SearchReport report = userSearch ? Link::SearchReport::Box : Link::SearchReport::Quiet;
    if (!perform([this, report] { return core.link().search(report); }).done())
        return Found::Nothing;
    return core.state().esc_ok ? Found::Esc : Found::Card;
}

bool Session::connect_esc(const QString& port)
{
    switch (find(port)) {
        case Found::Esc:
            return true;
        case Found::Card:
            print_err(QStringLiteral("zelt-cli: the setting card on %1 answered, but no ESC answered behind it; "
                                     "plug the ESC into the card and power it")
                          .arg(core.link().port_in_use()));
            return false;
        case Found::Nothing:
            explain_not_found(port, core.link().port_list());
            return false;
    }
    return false;
}

void Session::explain_not_found(const QString& port, const QStringList& searched) const
{
    if (!port.isEmpty() && core.comm().LastOpenError() != 0) {
        const int error = core.comm().LastOpenError();
        const QString held = error == EBUSY ? held_by_text(port_holders(port_device_path(port))) : QString();
        print_err(QStringLiteral("zelt-cli: cannot open %1: %2; `zelt-cli doctor --port %1` tells why and how to "
                                 "fix it")
                      .arg(port, held.isEmpty() ? system_reason(error) : held));
        return;
    }
    if (searched.isEmpty()) {
        print_err(QStringLiteral("zelt-cli: no serial port is listed; plug the adapter in, or name the port with "
                                 "--port"));
        return;
    }
    print_err(QStringLiteral("zelt-cli: no setting card answered on %1; check the cable and the card's power")
                  .arg(searched.join(QStringLiteral(", "))));
}

}  // namespace cli
