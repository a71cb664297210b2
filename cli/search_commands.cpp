// ports, find and identify.

#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "serial/port_holders.h"
#include "serial/port_list.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {
namespace {

void print_json(const QJsonObject& object)
{
    print_out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed());
}

// "1.2" from the label "FW version:V1.2".
QString version_of(const QString& label)
{
    const qsizetype v = label.indexOf(QLatin1String(":V"));
    return v < 0 ? QString() : label.mid(v + 2);
}

// The card's port and, when one answered, the ESC behind it.
int print_found(const CliOptions& options, Session& s, Session::Found found)
{
    const EscLabels& labels = s.core.link().esc_labels();
    const bool esc = found == Session::Found::Esc;
    if (options.json) {
        QJsonObject object{{"port", s.core.link().port_in_use()}};
        if (esc)
            object.insert("esc", QJsonObject{{"model", s.core.link().model_label()},
                                             {"hardware", version_of(labels.hwVersion)},
                                             {"firmware", version_of(labels.fwVersion)}});
        else
            object.insert("esc", QJsonValue::Null);
        print_json(object);
        return kSuccess;
    }
    print_out(QStringLiteral("port=") + s.core.link().port_in_use());
    if (esc) {
        print_out(QStringLiteral("model=") + s.core.link().model_label());
        print_out(QStringLiteral("hardware=") + version_of(labels.hwVersion));
        print_out(QStringLiteral("firmware=") + version_of(labels.fwVersion));
    }
    return kSuccess;
}

// The ports another program has open are passed over by the search; each is
// named here with its holder, so that none is skipped without a word.
void tell_held_ports(const QStringList& ports)
{
    for (const QString& port : ports) {
        const QString held = held_by_text(port_holders(port_device_path(port)));
        if (!held.isEmpty())
            print_err(QStringLiteral("zelt-cli: passing over %1: %2").arg(port, held));
    }
}

}  // namespace

int ports_command(const CliOptions& options)
{
    const QStringList ports = list_serial_ports();
    const QMap<QString, QString> stable = stable_port_names();
    if (options.json) {
        QJsonArray list;
        for (const QString& port : ports) {
            QJsonObject entry{{"port", port}};
            if (stable.contains(port))
                entry.insert("by_id", stable.value(port));
            list.append(entry);
        }
        print_json(QJsonObject{{"ports", list}});
        return kSuccess;
    }
    for (const QString& port : ports)
        print_out(stable.contains(port) ? port + QLatin1Char('\t') + stable.value(port) : port);
    return kSuccess;
}

// The user's search: its result box goes to stderr as the window shows it.
int find_command(const CliOptions& options, Session& s)
{
    tell_held_ports(options.port.isEmpty() ? list_serial_ports() : QStringList{options.port});
    const Session::Found found = s.find(options.port, true);
    if (found == Session::Found::Nothing)
        return kDeviceFailed;
    return print_found(options, s, found);
}

int identify_command(const CliOptions& options, Session& s)
{
    if (!s.connect_esc(options.port))
        return kDeviceFailed;
    return print_found(options, s, Session::Found::Esc);
}

}  // namespace cli
