#include "serial/port_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace {

const char* const kLinkPrefix = "ttySIM";

// ttyS2 before ttyS10: digits compare as numbers.
void sort_naturally(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        int i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            if (a[i].isDigit() && b[j].isDigit()) {
                int ei = i, ej = j;
                while (ei < a.size() && a[ei].isDigit())
                    ++ei;
                while (ej < b.size() && b[ej].isDigit())
                    ++ej;
                const qulonglong na = a.mid(i, ei - i).toULongLong();
                const qulonglong nb = b.mid(j, ej - j).toULongLong();
                if (na != nb)
                    return na < nb;
                i = ei;
                j = ej;
            } else {
                if (a[i] != b[j])
                    return a[i] < b[j];
                ++i;
                ++j;
            }
        }
        return a.size() - i < b.size() - j;
    });
}

// The 8250 driver registers a fixed number of ports whether or not a UART sits
// behind them; those report the UART type 0 (unknown) and cannot be opened.
bool is_placeholder(const QString& ttyDir)
{
    const QString driver = QFileInfo(ttyDir + "/device/driver").canonicalFilePath();
    if (QFileInfo(driver).fileName() != "serial8250")
        return false;
    QFile type(ttyDir + "/type");
    if (!type.open(QIODevice::ReadOnly))
        return true;
    return type.readAll().trimmed().toInt() == 0;
}

}  // namespace

QStringList list_hardware_ports(const QString& sysClassTty, const QString& dev)
{
    QDir sys(sysClassTty);
    QStringList names;
    for (const QString& name : sys.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QString dir = sys.filePath(name);
        // Only terminals with a device behind them are serial ports; virtual
        // consoles and pseudo-terminals have none.
        if (!QFileInfo::exists(dir + "/device") || is_placeholder(dir))
            continue;
        names << name;
    }
    sort_naturally(names);
    QStringList paths;
    for (const QString& name : names)
        paths << dev + "/" + name;
    return paths;
}

namespace {

// The folder must be a directory of our own: a folder under /tmp could have
// been placed there by another user to redirect our links.
bool is_own_directory(const QString& path)
{
    struct stat st {};
    if (lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == getuid();
}

}  // namespace

QString port_device_path(const QString& name)
{
    return name.startsWith('/') ? name : QStringLiteral("/dev/") + name;
}

QString virtual_port_dir()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QDir(runtime).filePath("serialcomm");
    return QString("/tmp/serialcomm-%1").arg(getuid());
}

QStringList list_serial_ports()
{
    return list_serial_ports_at(PortRoots());
}

QStringList list_serial_ports_at(const PortRoots& roots)
{
    return list_hardware_ports(roots.sysClassTty, roots.dev) +
           list_virtual_ports(roots.virtualDir.isEmpty() ? virtual_port_dir() : roots.virtualDir);
}

QStringList list_virtual_ports(const QString& folder)
{
    QStringList ports;
    if (!is_own_directory(folder))
        return ports;
    QDir dir(folder);
    // Name order; a link whose target is gone (its simulator ended without
    // cleaning up) is left out, as QDir skips broken links unless asked.
    QStringList links = dir.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : links) {
        const QString path = dir.filePath(name);
        if (QFileInfo(path).isSymLink() && QFileInfo::exists(path))
            ports << path;
    }
    return ports;
}

QMap<QString, QString> stable_port_names(const QString& byIdDir)
{
    QMap<QString, QString> names;
    QDir dir(byIdDir);
    for (const QString& name : dir.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString link = dir.filePath(name);
        const QString device = QFileInfo(link).canonicalFilePath();
        if (!device.isEmpty() && !names.contains(device))
            names.insert(device, link);
    }
    return names;
}

bool register_virtual_port(const QString& target, QString* linkPath)
{
    const QString folder = virtual_port_dir();
    if (mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    if (!is_own_directory(folder))
        return false;
    QDir dir(folder);
    for (int n = 0; n < 1000; ++n) {
        const QString path = dir.filePath(QString("%1%2").arg(kLinkPrefix).arg(n));
        const QFileInfo existing(path);
        if (existing.isSymLink() && !existing.exists())
            QFile::remove(path);  // left behind by a simulator that was killed
        // symlink() fails when the name is taken, so two simulators starting at
        // once never share a name.
        if (symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0) {
            if (linkPath)
                *linkPath = path;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void unregister_virtual_port(const QString& linkPath)
{
    const QFileInfo link(linkPath);
    if (link.isSymLink() && QFileInfo(link.absolutePath()) == QFileInfo(virtual_port_dir()))
        QFile::remove(linkPath);
}
