// doctor: why a port cannot be used, for every listed port and the one the
// window remembers, each finding with the command that fixes it.

#include "settings/settings_file.h"
#include "cli/commands.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "params/ini_file.h"
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

}  // namespace

int doctor_command(const CliOptions& options, const QString& programDir)
{
    const DoctorContext context = DoctorContext::forThisProcess();
    const QString named = options.port.isEmpty() ? remembered_port(programDir) : options.port;
    const std::vector<DoctorFinding> findings = diagnose_ports(doctor_ports(context, named), context);
    print_out(render_findings(findings).trimmed());
    const bool problem = std::any_of(findings.begin(), findings.end(),
                                     [](const DoctorFinding& f) { return f.verdict == DoctorVerdict::Problem; });
    return problem ? kDeviceFailed : kSuccess;
}

}  // namespace cli
