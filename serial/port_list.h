#pragma once
// The serial ports of this machine, as the port box lists them: hardware ports
// first, then the virtual ports that programs such as the device simulator
// register in a per-user folder (the counterpart of the system's list of
// virtual port drivers).

#include <QMap>
#include <QString>
#include <QStringList>

// The device a port name stands for: a name beginning with "/" is a path,
// any other name is that device in /dev ("ttyUSB0" is "/dev/ttyUSB0").
QString port_device_path(const QString& name);

// Where the port list is read from; tests hand in folders of their own.
struct PortRoots {
    QString dev = QStringLiteral("/dev");
    QString sysClassTty = QStringLiteral("/sys/class/tty");
    QString virtualDir;  // empty: virtual_port_dir()
    QString byIdDir() const { return dev + QStringLiteral("/serial/by-id"); }
};

// Device paths of the hardware ports ("/dev/ttyUSB0") in a stable order, then
// the paths of the registered virtual ports in name order. Never fails: what
// cannot be read is left out.
QStringList list_serial_ports();
QStringList list_serial_ports_at(const PortRoots& roots);

// The hardware ports alone, read from a sysfs tty class folder, as paths in
// the device folder dev.
QStringList list_hardware_ports(const QString& sysClassTty = "/sys/class/tty", const QString& dev = "/dev");

// The virtual ports registered in folder (links to live terminals), in name
// order; nothing when the folder is not the user's own.
QStringList list_virtual_ports(const QString& folder);

// The stable names of hardware ports: for each device that has one, its path
// in dev ("/dev/ttyUSB0") and the link in the by-id folder that names it
// ("/dev/serial/by-id/usb-...-if00-port0"). The first in name order wins
// when several name one device.
QMap<QString, QString> stable_port_names(const QString& byIdDir = "/dev/serial/by-id");

// The per-user folder of virtual ports: $XDG_RUNTIME_DIR/serialcomm, or
// /tmp/serialcomm-<uid> without it.
QString virtual_port_dir();

// Registers `target` (a terminal such as /dev/pts/7) as a virtual port: a link
// to it in the virtual port folder. Its path goes to *linkPath.
bool register_virtual_port(const QString& target, QString* linkPath);
// Removes a link made by register_virtual_port.
void unregister_virtual_port(const QString& linkPath);
