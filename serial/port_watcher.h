#pragma once
// Follows serial ports coming and going without polling: inotify on the
// device folder (and its serial/by-id folder once there is one) and on the
// virtual-port folder (watching its parent until it exists). After each burst
// of changes the port list is read again (port_list.h) and reported when it
// differs. The port in use is followed by its path and by its stable by-id
// name, so that its return is seen even under another device name.
//
// Lives on a thread with an event loop (the main thread); nothing runs while
// nothing changes.

#include "serial/port_list.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <map>

class QSocketNotifier;

class PortWatcher : public QObject {
    Q_OBJECT
public:
    explicit PortWatcher(QObject* parent = nullptr);
    // Tests hand in folders of their own.
    explicit PortWatcher(const PortRoots& roots, QObject* parent = nullptr);
    ~PortWatcher() override;

    // False when the system refused inotify: the list is then read once.
    bool isWatching() const { return fd_ >= 0; }
    // The ports present (each with its device node), as list_serial_ports
    // orders them.
    QStringList ports() const { return ports_; }
    // The port's stable name ("/dev/serial/by-id/usb-...-port0"), or empty
    // when it has none (virtual ports, built-in UARTs).
    QString stableName(const QString& port) const;

    // The port the link uses (a device path), followed for portInUseGone and
    // portInUseBack; empty for none.
    void setPortInUse(const QString& path);
    QString portInUse() const { return inUse_; }

signals:
    void portsChanged(const QStringList& ports);
    // The port in use went away: its node (or link) was removed.
    void portInUseGone(const QString& path);
    // It is there again, by its path or by its stable name; path is where it
    // is now (another device name when it came back under one).
    void portInUseBack(const QString& path);

private:
    void readEvents();
    void syncWatches();
    void rescan();
    QStringList presentPorts() const;
    bool inUsePresent() const;

    PortRoots roots_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer settle_;  // one rescan per burst of events
    // What matters in a watched folder: every name, or only these.
    struct Interest {
        bool all = false;
        QStringList names;
        void add(const Interest& other);
        bool covers(const QString& name) const { return all || names.contains(name); }
    };
    std::map<int, Interest> watches_;  // by watch descriptor
    QStringList ports_;
    QMap<QString, QString> stableNames_;  // device path -> by-id link
    QString inUse_;
    QString inUseStableName_;
    bool inUseWasPresent_ = false;
};
