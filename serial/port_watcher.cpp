#include "serial/port_watcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace {

// A node appears with IN_CREATE, a link or a renamed file with IN_MOVED_TO;
// the folder itself may go (IN_DELETE_SELF, then IN_IGNORED).
constexpr uint32_t kWatchMask =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// udev adds the by-id link a moment after the node; one rescan covers both.
constexpr int kSettleMs = 20;

QString parentOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

}  // namespace

PortWatcher::PortWatcher(QObject* parent) : PortWatcher(PortRoots(), parent) {}

PortWatcher::PortWatcher(const PortRoots& roots, QObject* parent) : QObject(parent), roots_(roots)
{
    if (roots_.virtualDir.isEmpty()) {
        roots_.virtualDir = virtual_port_dir();
    }
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &PortWatcher::rescan);

    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &PortWatcher::readEvents);
        syncWatches();
    }
    ports_ = presentPorts();
    stableNames_ = stable_port_names(roots_.byIdDir());
}

QStringList PortWatcher::presentPorts() const
{
    QStringList ports = list_serial_ports_at(roots_);
    // The kernel removes a device's node before its sysfs entry: a port is
    // listed only while its node is there.
    ports.removeIf([](const QString& p) { return !QFileInfo::exists(p); });
    return ports;
}

PortWatcher::~PortWatcher()
{
    if (fd_ >= 0) {
        delete notifier_;
        ::close(fd_);
    }
}

void PortWatcher::Interest::add(const Interest& other)
{
    all = all || other.all;
    for (const QString& name : other.names) {
        if (!names.contains(name)) {
            names << name;
        }
    }
}

QString PortWatcher::stableName(const QString& port) const
{
    const QString device = QFileInfo(port).canonicalFilePath();
    return device.isEmpty() ? QString() : stableNames_.value(device);
}

void PortWatcher::setPortInUse(const QString& path)
{
    inUse_ = path;
    inUseStableName_ = path.isEmpty() ? QString() : stableName(path);
    inUseWasPresent_ = inUsePresent();
    syncWatches();
}

bool PortWatcher::inUsePresent() const
{
    if (inUse_.isEmpty()) {
        return false;
    }
    return QFileInfo::exists(inUse_) || (!inUseStableName_.isEmpty() && QFileInfo::exists(inUseStableName_));
}

// Adds a watch for every wanted folder that exists and drops those no longer
// wanted. Called after every burst, so a folder that appears is watched from
// then on; adding a folder already watched only returns its descriptor.
void PortWatcher::syncWatches()
{
    if (fd_ < 0) {
        return;
    }
    std::map<QString, Interest> wanted;  // by folder
    const auto want = [&](const QString& dir, const QString& name) {
        wanted[QDir::cleanPath(dir)].add(name.isEmpty() ? Interest{true, {}} : Interest{false, {name}});
    };
    want(roots_.dev, {});
    want(roots_.dev + QStringLiteral("/serial"), {});  // where by-id appears
    want(roots_.byIdDir(), {});
    want(roots_.virtualDir, {});
    // The parent only until the folder is there: it may be /tmp, which is
    // busy with other programs' files. Should the folder go, its watch ends
    // (IN_IGNORED) and the parent is watched again.
    if (!QFileInfo(roots_.virtualDir).isDir()) {
        want(parentOf(roots_.virtualDir), QFileInfo(roots_.virtualDir).fileName());
    }
    if (!inUse_.isEmpty()) {
        want(parentOf(inUse_), QFileInfo(inUse_).fileName());
    }

    std::map<int, Interest> now;
    for (const auto& [dir, interest] : wanted) {
        const int wd = ::inotify_add_watch(fd_, QFile::encodeName(dir).constData(), kWatchMask);
        if (wd >= 0) {
            now[wd].add(interest);  // two paths may name one folder
        }
        // An absent folder is watched once its parent's watch reports it.
    }
    for (const auto& [wd, interest] : watches_) {
        if (!now.count(wd)) {
            ::inotify_rm_watch(fd_, wd);
        }
    }
    watches_ = std::move(now);
}

void PortWatcher::readEvents()
{
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            break;  // EAGAIN: drained
        }
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & IN_Q_OVERFLOW) {
                relevant = true;  // events were lost: read everything again
                continue;
            }
            const auto it = watches_.find(e->wd);
            if (it == watches_.end()) {
                continue;
            }
            if (e->mask & IN_IGNORED) {
                watches_.erase(it);
                relevant = true;
                continue;
            }
            const QString name = e->len ? QFile::decodeName(e->name) : QString();
            if (it->second.covers(name) || (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF))) {
                relevant = true;
            }
        }
    }
    if (relevant && !settle_.isActive()) {
        settle_.start();
    }
}

void PortWatcher::rescan()
{
    syncWatches();
    const QStringList ports = presentPorts();
    const QMap<QString, QString> names = stable_port_names(roots_.byIdDir());
    const bool changed = ports != ports_ || names != stableNames_;
    ports_ = ports;
    stableNames_ = names;

    if (!inUse_.isEmpty()) {
        if (QFileInfo::exists(inUse_) && !stableName(inUse_).isEmpty()) {
            inUseStableName_ = stableName(inUse_);  // learnt once udev has named it
        }
        const bool present = inUsePresent();
        if (present != inUseWasPresent_) {
            inUseWasPresent_ = present;
            if (present) {
                emit portInUseBack(QFileInfo::exists(inUse_) ? inUse_
                                                             : QFileInfo(inUseStableName_).canonicalFilePath());
            } else {
                emit portInUseGone(inUse_);
            }
        }
    }
    if (changed) {
        emit portsChanged(ports_);
    }
}
