#pragma once
// Why a port cannot be opened, told to the user with the command that fixes
// it: whether the port exists, whether this user may open it (and through
// which group), whether another process holds it (serial/port_holders.h),
// whether ModemManager or brltty would take it, and whether our udev rule is
// installed.
//
// Everything is read below a root folder (/dev, /sys, /proc, /etc, /usr) and
// the user is given as data, so that tests run it on a fake system.

#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <vector>

struct DoctorContext {
    QString root = QStringLiteral("/");  // where the system's folders are found
    uid_t uid = 0;                       // the effective user
    std::vector<gid_t> groups;           // the process's groups (effective and supplementary)
    QString user;                        // login name; empty: looked up in etc/passwd
    pid_t selfPid = 0;                   // never counted as holding a port
    QString virtualDir;                  // the virtual-port folder; empty: none listed
    QString udevRuleSource;              // a copy of the rule that exists, for the fix; empty: none found
    bool buildFolder = false;            // run from a build folder: a missing rule is a note, not a problem

    // This process on this machine; programDir (where the program lies)
    // tells where a copy of the udev rule is.
    static DoctorContext forThisProcess(const QString& programDir = {});
};

enum class DoctorCheck { Exists, Access, Holder, ModemManager, Brltty, UdevRule, Adapter, LatencyTimer, RoundTrip };
enum class DoctorVerdict { Ok, Note, Problem };

struct DoctorFinding {
    QString port;  // device path; empty for a finding about the system
    DoctorCheck check;
    DoctorVerdict verdict;
    QString text;
    QString fix;  // the command to run; empty when there is nothing to do
};

// The file name of our udev rule.
inline constexpr const char* kUdevRuleName = "70-zelt-serial-adapters.rules";

// The ports to examine: the hardware ports and virtual ports as the port box
// lists them, then named (a port name or device path; "ttyUSB0" means
// "/dev/ttyUSB0") unless already listed.
QStringList doctor_ports(const DoctorContext& context, const QString& named = {});

// The findings for each port in order, then those about the system.
std::vector<DoctorFinding> diagnose_ports(const QStringList& ports, const DoctorContext& context);

// One block per port, one line per finding with its fix indented below.
QString render_findings(const std::vector<DoctorFinding>& findings);
