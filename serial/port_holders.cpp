#include "serial/port_holders.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The names in a folder that are numbers; false when it cannot be read.
bool numbered_entries(const std::string& dir, std::vector<int>& out)
{
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return false;
    while (const dirent* e = ::readdir(d)) {
        char* end = nullptr;
        const long n = std::strtol(e->d_name, &end, 10);
        if (end != e->d_name && *end == '\0' && n >= 0)
            out.push_back(static_cast<int>(n));
    }
    ::closedir(d);
    return true;
}

std::string link_target(const std::string& link)
{
    char target[4096];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

bool ends_with(const std::string& text, const char* end)
{
    const size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// The terminal number a controlling side of a pseudo-terminal belongs to,
// from its descriptor's "tty-index:" line; -1 when it is not there.
int terminal_index(const std::string& fdinfo)
{
    QFile f(QFile::decodeName(fdinfo.c_str()));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("tty-index:")) {
            bool ok = false;
            const int index = line.mid(10).trimmed().toInt(&ok);
            return ok ? index : -1;
        }
    }
    return -1;
}

// The number of a pseudo-terminal's terminal side ("/dev/pts/5": 5); -1 for
// any other device.
int pts_number(const QString& device)
{
    if (!device.startsWith(QLatin1String("/dev/pts/")))
        return -1;
    bool ok = false;
    const int n = device.mid(9).toInt(&ok);
    return ok ? n : -1;
}

}  // namespace

QString holder_text(const PortHolder& holder)
{
    return QStringLiteral("%1 (pid %2)").arg(holder.command).arg(holder.pid);
}

QString held_by_text(const std::vector<PortHolder>& holders)
{
    QStringList names;
    for (const PortHolder& h : holders)
        names << holder_text(h);
    return names.isEmpty() ? QString() : QStringLiteral("held by ") + names.join(QStringLiteral(", "));
}

OpenFiles::OpenFiles(const QString& procDir, int selfPid) : procDir_(procDir)
{
    const std::string proc = QFile::encodeName(procDir).toStdString();
    std::vector<int> pids;
    numbered_entries(proc, pids);
    std::sort(pids.begin(), pids.end());
    for (const int pid : pids) {
        Process p;
        p.pid = pid;
        if (pid == selfPid) {
            processes_.push_back(std::move(p));  // for running(); it holds nothing
            continue;
        }
        const std::string dir = proc + '/' + std::to_string(pid);
        std::vector<int> fds;
        if (!numbered_entries(dir + "/fd", fds)) {
            ++unreadable_;
            processes_.push_back(std::move(p));
            continue;
        }
        for (const int fd : fds) {
            std::string target = link_target(dir + "/fd/" + std::to_string(fd));
            if (target.empty())
                continue;
            if (ends_with(target, "/ptmx")) {
                const int index = terminal_index(dir + "/fdinfo/" + std::to_string(fd));
                if (index >= 0)
                    p.servedTerminals.push_back(index);
                else
                    p.servesUnknown = true;
            }
            p.files.push_back(std::move(target));
        }
        processes_.push_back(std::move(p));
    }
}

QString OpenFiles::command(int pid) const
{
    QFile comm(procDir_ + QLatin1Char('/') + QString::number(pid) + QStringLiteral("/comm"));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll().trimmed()) : QString();
}

bool OpenFiles::serves(const Process& p, const QString& device)
{
    const int n = pts_number(device);
    if (n < 0)
        return false;
    return p.servesUnknown || std::find(p.servedTerminals.begin(), p.servedTerminals.end(), n) !=
                                  p.servedTerminals.end();
}

std::vector<PortHolder> OpenFiles::holders(const QString& device) const
{
    const std::string name = QFile::encodeName(device).toStdString();
    std::vector<PortHolder> found;
    for (const Process& p : processes_) {
        if (std::find(p.files.begin(), p.files.end(), name) != p.files.end() && !serves(p, device))
            found.push_back({p.pid, command(p.pid)});
    }
    return found;
}

bool OpenFiles::running(const QString& name) const
{
    return std::any_of(processes_.begin(), processes_.end(), [&](const Process& p) { return command(p.pid) == name; });
}

std::vector<PortHolder> port_holders(const QString& path)
{
    const QString device = QFileInfo(path).canonicalFilePath();
    if (device.isEmpty())
        return {};
    return OpenFiles(QStringLiteral("/proc"), static_cast<int>(::getpid())).holders(device);
}
