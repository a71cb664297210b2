#include "diagnostics/port_doctor.h"

#include "diagnostics/usb_serial_doctor.h"
#include "serial/port_holders.h"
#include "serial/port_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace {

struct Account {
    QString name;
    uint id = 0;
    uint primaryGroup = 0;  // passwd only
    QStringList members;    // group only
};

// USB serial adapters (vendor, product) that brltty's rules claim as braille
// displays, because some displays use the same chips.
const char* const kBrlttyClaims[][2] = {{"1a86", "7523"}, {"10c4", "ea60"}};
const char* const kBrlttyClaimNames = "USB ids 1a86:7523 and 10c4:ea60";

class Doctor {
public:
    explicit Doctor(const DoctorContext& c) : c_(c), files_(at("/proc"), c.selfPid)
    {
        passwd_ = readAccounts("/etc/passwd", false);
        groups_ = readAccounts("/etc/group", true);
        user_ = c_.user;
        if (user_.isEmpty()) {
            const auto me = std::find_if(passwd_.begin(), passwd_.end(), [&](const Account& a) { return a.id == c_.uid; });
            user_ = me != passwd_.end() ? me->name : QString::number(c_.uid);
        }
        for (const char* dir : kRuleFolders) {
            const QString rule = QString::fromLatin1(dir) + "/" + kUdevRuleName;
            if (installedRule_.isEmpty() && QFileInfo::exists(at(rule)))
                installedRule_ = rule;
        }
        ruleInstalled_ = !installedRule_.isEmpty();
        modemManager_ = installed({"/usr/sbin/ModemManager", "/usr/bin/ModemManager", "/sbin/ModemManager"});
        brltty_ = installed({"/usr/bin/brltty", "/bin/brltty", "/usr/sbin/brltty", "/sbin/brltty"});
        mmRunning_ = files_.running(QStringLiteral("ModemManager"));
    }

    void port(const QString& path, std::vector<DoctorFinding>& out)
    {
        const auto add = [&](DoctorCheck check, DoctorVerdict verdict, const QString& text, const QString& fix = {}) {
            out.push_back({path, check, verdict, text, fix});
        };
        const bool usb = isUsbName(path);
        struct stat st {};
        const QString device = resolve(path, &st);
        if (device.isEmpty()) {
            add(DoctorCheck::Exists, DoctorVerdict::Problem,
                QStringLiteral("does not exist: the adapter is not plugged in, or the system took it away"),
                QStringLiteral("plug the adapter in and watch the system's messages: sudo dmesg --follow"));
            if (brltty_ && usb) {
                add(DoctorCheck::Brltty, DoctorVerdict::Note,
                    QStringLiteral("brltty is installed; it claims common USB serial adapters (%1) as braille "
                                   "displays, and their port vanishes right after plug-in")
                        .arg(kBrlttyClaimNames),
                    removePackage("brltty"));
            }
            return;
        }
        // A file or a folder is no port; anything else (a device node) is
        // left for the open to judge.
        if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
            add(DoctorCheck::Exists, DoctorVerdict::Problem,
                QStringLiteral("%1 is not a serial device").arg(device),
                QStringLiteral("choose another port; the serial ports are: ls /dev/serial/by-id"));
            return;
        }
        add(DoctorCheck::Exists, DoctorVerdict::Ok,
            device == path ? QStringLiteral("exists") : QStringLiteral("exists (%1)").arg(device));
        access(path, device, st, add);
        holders(device, add);
        if (modemManager_ && usb) {
            // The rule tells it to leave the usual adapters (ttyUSB) alone;
            // a CDC ACM device (ttyACM) is probed whatever the rule says.
            const bool covered = ruleInstalled_ && !QFileInfo(device).fileName().startsWith("ttyACM");
            if (covered) {
                add(DoctorCheck::ModemManager, DoctorVerdict::Ok,
                    QStringLiteral("ModemManager is installed; the udev rule tells it to leave this port alone"));
            } else {
                add(DoctorCheck::ModemManager, DoctorVerdict::Note,
                    QStringLiteral("ModemManager is %1; it may open this port and send to it for a few seconds "
                                   "after plug-in")
                        .arg(mmRunning_ ? QStringLiteral("running") : QStringLiteral("installed")),
                    QStringLiteral("sudo systemctl disable --now ModemManager   (if no modem is used)"));
            }
        }
        if (brltty_ && usb && claimedByBrltty(QFileInfo(device).fileName())) {
            add(DoctorCheck::Brltty, DoctorVerdict::Problem,
                QStringLiteral("brltty is installed and claims this adapter (one of %1) as a braille display")
                    .arg(kBrlttyClaimNames),
                removePackage("brltty"));
        }
        if (!device.startsWith(QStringLiteral("/dev/pts/"))) {
            if (const auto adapter = read_usb_serial(at("/sys/class/tty"), QFileInfo(device).fileName())) {
                const auto found = usb_serial_findings(path, *adapter, ruleInstalled_);
                out.insert(out.end(), found.begin(), found.end());
            }
        }
    }

    void system(std::vector<DoctorFinding>& out)
    {
        if (ruleInstalled_) {
            out.push_back({{}, DoctorCheck::UdevRule, DoctorVerdict::Ok,
                           QStringLiteral("the udev rule %1 is installed").arg(installedRule_), {}});
            return;
        }
        const QString rule = QString::fromLatin1(kUdevRuleName);
        // A program run from its build folder has nothing installed yet: the
        // missing rule is worth knowing, not a fault of this machine.
        const QString where = c_.buildFolder ? QStringLiteral(" (this program runs from its build folder)") : QString();
        const QString fix = c_.udevRuleSource.isEmpty()
                                ? QStringLiteral("install %1 from the program's package (packaging/%1 in its source) "
                                                 "into /etc/udev/rules.d/, then: sudo udevadm control --reload-rules "
                                                 "&& sudo udevadm trigger")
                                      .arg(rule)
                                : QStringLiteral("sudo install -m 644 %1 /etc/udev/rules.d/ && sudo udevadm control "
                                                 "--reload-rules && sudo udevadm trigger")
                                      .arg(c_.udevRuleSource);
        out.push_back({{}, DoctorCheck::UdevRule, c_.buildFolder ? DoctorVerdict::Note : DoctorVerdict::Problem,
                       QStringLiteral("the udev rule %1 is not installed%2: USB serial adapters are not given to "
                                      "the user at the seat, and ModemManager is not told to leave them alone")
                           .arg(rule, where),
                       fix});
    }

private:
    static constexpr const char* kRuleFolders[] = {"/etc/udev/rules.d", "/usr/lib/udev/rules.d",
                                                   "/lib/udev/rules.d"};

    QString at(const QString& path) const
    {
        return c_.root == "/" ? path : QDir::cleanPath(c_.root + "/" + path);
    }

    bool installed(std::initializer_list<const char*> paths) const
    {
        return std::any_of(paths.begin(), paths.end(), [&](const char* p) { return QFileInfo::exists(at(p)); });
    }

    static bool isUsbName(const QString& path)
    {
        const QString name = QFileInfo(path).fileName();
        return name.startsWith("ttyUSB") || name.startsWith("ttyACM") || path.contains("/serial/by-id/");
    }

    // The device path that path names, following links inside the root (a
    // link's absolute target is read below the root as well); empty when
    // nothing is there. *st gets the device's status.
    QString resolve(const QString& path, struct stat* st) const
    {
        QString p = QDir::cleanPath(path);
        for (int depth = 0; depth < 16; ++depth) {
            if (::lstat(QFile::encodeName(at(p)).constData(), st) != 0) {
                return {};
            }
            if (!S_ISLNK(st->st_mode)) {
                return p;
            }
            const QByteArray raw = QFile::encodeName(at(p));
            char buffer[4096];
            const ssize_t n = ::readlink(raw.constData(), buffer, sizeof buffer - 1);
            if (n <= 0) {
                return {};
            }
            const QString link = QFile::decodeName(QByteArray(buffer, static_cast<int>(n)));
            p = QDir::cleanPath(link.startsWith('/') ? link : QFileInfo(p).path() + "/" + link);
        }
        return {};
    }

    std::vector<Account> readAccounts(const QString& file, bool group) const
    {
        std::vector<Account> accounts;
        QFile f(at(file));
        if (!f.open(QIODevice::ReadOnly)) {
            return accounts;
        }
        for (const QByteArray& line : f.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(':');
            if (fields.size() < 4 || line.startsWith('#')) {
                continue;
            }
            Account a;
            a.name = QString::fromUtf8(fields[0]);
            a.id = fields[2].toUInt();
            if (group) {
                for (const QByteArray& m : fields[3].trimmed().split(',')) {
                    if (!m.isEmpty()) {
                        a.members << QString::fromUtf8(m);
                    }
                }
            } else {
                a.primaryGroup = fields[3].toUInt();
            }
            accounts.push_back(a);
        }
        return accounts;
    }

    QString groupName(gid_t gid) const
    {
        for (const Account& g : groups_) {
            if (g.id == gid) {
                return g.name;
            }
        }
        return QString::number(gid);
    }

    // The group that owns serial ports here: dialout on most systems, uucp
    // on some.
    QString serialGroup() const
    {
        for (const char* name : {"dialout", "uucp"}) {
            if (std::any_of(groups_.begin(), groups_.end(), [&](const Account& g) { return g.name == name; })) {
                return QString::fromLatin1(name);
            }
        }
        return QStringLiteral("dialout");
    }

    // Whether the user belongs to gid according to /etc/group and /etc/passwd,
    // which a new login would give to the processes.
    bool memberByAccounts(gid_t gid) const
    {
        for (const Account& p : passwd_) {
            if (p.name == user_ && p.primaryGroup == gid) {
                return true;
            }
        }
        for (const Account& g : groups_) {
            if (g.id == gid && g.members.contains(user_)) {
                return true;
            }
        }
        return false;
    }

    bool inProcessGroups(gid_t gid) const
    {
        return std::find(c_.groups.begin(), c_.groups.end(), gid) != c_.groups.end();
    }

    // Read and write for the user through the access control list, if the
    // device has one (udev's "uaccess" gives one to the user at the seat).
    std::optional<bool> aclAllows(const QString& device) const
    {
        unsigned char raw[1024];
        const ssize_t n = ::getxattr(QFile::encodeName(at(device)).constData(), "system.posix_acl_access", raw,
                                     sizeof raw);
        if (n < 4) {
            return std::nullopt;
        }
        // Little-endian: a 4-byte version, then entries of tag (2 bytes),
        // permissions (2 bytes) and id (4 bytes).
        const auto u16 = [&](ssize_t i) { return unsigned(raw[i]) | unsigned(raw[i + 1]) << 8; };
        const auto u32 = [&](ssize_t i) { return u16(i) | u16(i + 2) << 16; };
        constexpr unsigned kUser = 0x02, kGroup = 0x08, kMask = 0x10, kReadWrite = 0x6;
        unsigned mask = 0x7;
        bool granted = false;
        for (ssize_t i = 4; i + 8 <= n; i += 8) {
            const unsigned tag = u16(i), perm = u16(i + 2), id = u32(i + 4);
            if (tag == kMask) {
                mask = perm;
            } else if ((tag == kUser && id == c_.uid) || (tag == kGroup && inProcessGroups(id))) {
                granted = granted || (perm & kReadWrite) == kReadWrite;
            }
        }
        return granted && (mask & kReadWrite) == kReadWrite;
    }

    template <class Add>
    void access(const QString& path, const QString& device, const struct stat& st, Add add) const
    {
        const QString name = device == path ? QStringLiteral("it") : device;
        const bool owner = st.st_uid == c_.uid && (st.st_mode & 0600) == 0600;
        const bool group = inProcessGroups(st.st_gid) && (st.st_mode & 0060) == 0060;
        const bool other = (st.st_mode & 0006) == 0006;
        const QString g = groupName(st.st_gid);
        if (c_.uid == 0 || owner || other) {
            add(DoctorCheck::Access, DoctorVerdict::Ok, QStringLiteral("%1 may open it").arg(user_));
            return;
        }
        if (group) {
            add(DoctorCheck::Access, DoctorVerdict::Ok,
                QStringLiteral("%1 may open it as a member of group %2").arg(user_, g));
            return;
        }
        if (aclAllows(device).value_or(false)) {
            add(DoctorCheck::Access, DoctorVerdict::Ok,
                QStringLiteral("%1 may open it through its access list (the user at the seat)").arg(user_));
            return;
        }
        if ((st.st_mode & 0060) != 0060) {
            // Our rule covers USB adapters; a built-in port needs its group
            // set by hand (for this boot) or by a rule of the system's.
            add(DoctorCheck::Access, DoctorVerdict::Problem,
                QStringLiteral("%1 may not open %2: only its owner may (mode %3)")
                    .arg(user_, name)
                    .arg(st.st_mode & 0777, 3, 8, QLatin1Char('0')),
                isUsbName(path)
                    ? QStringLiteral("install the udev rule (see below), then unplug the adapter and plug it in again")
                    : QStringLiteral("sudo chgrp %1 %2 && sudo chmod 660 %2   (until the next start), then join "
                                     "group %1")
                          .arg(serialGroup(), device));
            return;
        }
        if (memberByAccounts(st.st_gid)) {
            add(DoctorCheck::Access, DoctorVerdict::Problem,
                QStringLiteral("%1 is in group %2, which may open %3, but this session started before that: "
                               "it does not have the group yet")
                    .arg(user_, g, name),
                QStringLiteral("log out and log in again (or, for one shell: newgrp %1)").arg(g));
            return;
        }
        add(DoctorCheck::Access, DoctorVerdict::Problem,
            QStringLiteral("%1 may not open %2: only members of group %3 may, and %1 is not one")
                .arg(user_, name, g),
            QStringLiteral("sudo usermod -aG %1 %2   (then log out and log in again)").arg(g, user_));
    }

    template <class Add>
    void holders(const QString& device, Add add) const
    {
        const std::vector<PortHolder> held = files_.holders(device);
        for (const PortHolder& h : held) {
            add(DoctorCheck::Holder, DoctorVerdict::Problem, held_by_text({h}),
                h.command == "ModemManager" ? QStringLiteral("sudo systemctl stop ModemManager")
                                            : QStringLiteral("close %1, or end it: kill %2").arg(h.command).arg(h.pid));
        }
        if (!held.empty()) {
            return;
        }
        if (files_.unreadable() > 0 && c_.uid != 0) {
            add(DoctorCheck::Holder, DoctorVerdict::Note,
                QStringLiteral("no process of %1 holds it; the processes of other users could not be looked at")
                    .arg(user_),
                QStringLiteral("sudo fuser -v %1").arg(device));
        } else {
            add(DoctorCheck::Holder, DoctorVerdict::Ok, QStringLiteral("no other process holds it"));
        }
    }

    // The USB vendor and product of the device behind a tty, from sysfs: the
    // first folder above the tty's device that has them.
    bool claimedByBrltty(const QString& tty) const
    {
        QString dir = QFileInfo(at("/sys/class/tty/" + tty + "/device")).canonicalFilePath();
        for (int up = 0; up < 4 && !dir.isEmpty(); ++up, dir = QFileInfo(dir).path()) {
            QFile vendor(dir + "/idVendor");
            QFile product(dir + "/idProduct");
            if (!vendor.open(QIODevice::ReadOnly) || !product.open(QIODevice::ReadOnly)) {
                continue;
            }
            const QByteArray v = vendor.readAll().trimmed().toLower();
            const QByteArray p = product.readAll().trimmed().toLower();
            return std::any_of(std::begin(kBrlttyClaims), std::end(kBrlttyClaims),
                               [&](const auto& id) { return v == id[0] && p == id[1]; });
        }
        return false;
    }

    // The package manager's command, from os-release's ID and ID_LIKE.
    QString removePackage(const QString& package) const
    {
        QFile f(at("/etc/os-release"));
        QString ids;
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : f.readAll().split('\n')) {
                if (line.startsWith("ID=") || line.startsWith("ID_LIKE=")) {
                    ids += ' ' + QString::fromUtf8(line.mid(line.indexOf('=') + 1)).remove('"');
                }
            }
        }
        const QStringList words = ids.split(' ', Qt::SkipEmptyParts);
        if (words.contains("debian") || words.contains("ubuntu")) {
            return "sudo apt remove " + package;
        }
        if (words.contains("arch")) {
            return "sudo pacman -R " + package;
        }
        if (words.contains("fedora") || words.contains("rhel")) {
            return "sudo dnf remove " + package;
        }
        if (words.contains("suse") || words.contains("opensuse")) {
            return "sudo zypper remove " + package;
        }
        return "remove the " + package + " package with the system's package manager";
    }

    const DoctorContext& c_;
    OpenFiles files_;  // of every other process
    std::vector<Account> passwd_;
    std::vector<Account> groups_;
    QString user_;
    QString installedRule_;  // its path; empty: not installed
    bool ruleInstalled_ = false;
    bool modemManager_ = false;
    bool mmRunning_ = false;
    bool brltty_ = false;
};

}  // namespace

namespace {

// The build folder the program lies in (the folder of its CMakeCache.txt,
// at most three folders up); empty when it is installed.
QString build_folder_of(const QString& programDir)
{
    QDir dir(programDir);
    for (int up = 0; up < 4; ++up) {
        if (dir.exists(QStringLiteral("CMakeCache.txt")))
            return dir.absolutePath();
        if (!dir.cdUp())
            break;
    }
    return {};
}

// The source tree a build folder was made from, as its cache records it.
QString source_tree_of(const QString& buildFolder)
{
    QFile cache(buildFolder + QStringLiteral("/CMakeCache.txt"));
    if (!cache.open(QIODevice::ReadOnly))
        return {};
    const QByteArray key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    for (const QByteArray& line : cache.readAll().split('\n')) {
        if (line.startsWith(key))
            return QFile::decodeName(line.mid(key.size()).trimmed());
    }
    return {};
}

}  // namespace

DoctorContext DoctorContext::forThisProcess(const QString& programDir)
{
    DoctorContext c;
    c.uid = ::geteuid();
    const int n = ::getgroups(0, nullptr);
    c.groups.resize(n > 0 ? static_cast<size_t>(n) : 0);
    if (n > 0 && ::getgroups(n, c.groups.data()) != n) {
        c.groups.clear();
    }
    c.groups.push_back(::getegid());
    c.selfPid = ::getpid();
    c.virtualDir = virtual_port_dir();
    if (programDir.isEmpty())
        return c;
    // A copy of the rule to install: the source tree's beside a build, the
    // one installed with the program under its prefix otherwise (a prefix
    // such as /usr/local, where udev does not look).
    const QString build = build_folder_of(programDir);
    c.buildFolder = !build.isEmpty();
    const QString rule = QString::fromLatin1(kUdevRuleName);
    const QString copy = c.buildFolder ? source_tree_of(build) + QStringLiteral("/packaging/") + rule
                                       : QDir(programDir).absoluteFilePath(QStringLiteral("../lib/udev/rules.d/") + rule);
    if (QFileInfo(copy).isFile())
        c.udevRuleSource = QDir::cleanPath(copy);
    return c;
}

QStringList doctor_ports(const DoctorContext& context, const QString& named)
{
    const QString sys = context.root == "/" ? QStringLiteral("/sys/class/tty")
                                            : QDir::cleanPath(context.root + "/sys/class/tty");
    QStringList ports = list_hardware_ports(sys, QStringLiteral("/dev"));
    if (!context.virtualDir.isEmpty()) {
        ports += list_virtual_ports(context.virtualDir);
    }
    if (!named.isEmpty() && !ports.contains(port_device_path(named))) {
        ports << port_device_path(named);
    }
    return ports;
}

std::vector<DoctorFinding> diagnose_ports(const QStringList& ports, const DoctorContext& context)
{
    Doctor doctor(context);
    std::vector<DoctorFinding> findings;
    for (const QString& port : ports) {
        doctor.port(port_device_path(port), findings);
    }
    doctor.system(findings);
    return findings;
}

QString render_findings(const std::vector<DoctorFinding>& findings)
{
    static const char* const verdicts[] = {"ok     ", "note   ", "problem"};
    QString out;
    QString heading;
    bool first = true;
    for (const DoctorFinding& f : findings) {
        const QString h = f.port.isEmpty() ? QStringLiteral("System") : f.port;
        if (first || h != heading) {
            out += (first ? QString() : QStringLiteral("\n")) + h + QLatin1Char('\n');
            heading = h;
            first = false;
        }
        out += QStringLiteral("  %1  %2\n").arg(QLatin1String(verdicts[static_cast<int>(f.verdict)]), f.text);
        if (!f.fix.isEmpty()) {
            out += QStringLiteral("           fix: %1\n").arg(f.fix);
        }
    }
    return out;
}
