// doctor: why a port cannot be used, for every listed port and the one the
// window remembers, each finding with the command that fixes it. With
// --port and a card answering there, also how fast it answers.

#include "settings/settings_file.h"
#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/round_trip_probe.h"
#include "cli/session.h"
#include "diagnostics/usb_serial_doctor.h"
#include "params/ini_file.h"
#include "serial/port_list.h"
#include "diagnostics/port_doctor.h"

#include <QFileInfo>
#include <algorithm>

namespace cli {
namespace {

// The port in the window's settings file; nothing when it names none (a
// missing file reads as "COM1", which no Linux machine has).
QString remembered_port(const QString& programDir)
{
    const QString path = settings_path(programDir);
    if (!QFileInfo::exists(path))
        return QString();
    return IniFile(path).readString(QLatin1String(kPortSection), QLatin1String(kPortKey), QString());
}

// The probe's round trip on the named port, placed after that port's
// findings; nothing when the port does not open or no card answers.
void add_round_trip(const QString& port, const QString& programDir, std::vector<DoctorFinding>& findings)
{
    constexpr int kTries = 10;
    Session session(programDir);
    if (session.find(port) == Session::Found::Nothing)
        return;
    const std::vector<double> times = probe_round_trips(session, kTries);
    if (times.empty())
        return;
    const QString device = port_device_path(session.core.link().port_in_use());
    auto after = std::find_if(findings.rbegin(), findings.rend(),
                              [&](const DoctorFinding& f) { return f.port == device; });
    findings.insert(after.base(), round_trip_finding(device, times));
}

}  // namespace

int doctor_command(const CliOptions& options, const QString& programDir)
{
    const DoctorContext context = DoctorContext::forThisProcess(programDir);
    const QString named = options.port.isEmpty() ? remembered_port(programDir) : options.port;
    std::vector<DoctorFinding> findings = diagnose_ports(doctor_ports(context, named), context);
    if (!options.port.isEmpty())
        add_round_trip(options.port, programDir, findings);
    print_out(render_findings(findings).trimmed());
    const bool problem = std::any_of(findings.begin(), findings.end(),
                                     [](const DoctorFinding& f) { return f.verdict == DoctorVerdict::Problem; });
    return problem ? kDeviceFailed : kSuccess;
}

}  // namespace cli
