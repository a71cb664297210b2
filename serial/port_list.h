#pragma once
// The serial ports of this machine, as the port box lists them: hardware ports
// first, then the virtual ports that programs such as the device simulator
// register in a per-user folder (the counterpart of the system's list of
// virtual port drivers).

#include <QString>
#include <QStringList>

// Device paths of the hardware ports ("/dev/ttyUSB0") in a stable order, then
// the paths of the registered virtual ports in name order. Never fails: what
// cannot be read is left out.
QStringList list_serial_ports();

// The hardware ports alone, read from a sysfs tty class folder (tests hand in
// a folder of their own).
QStringList list_hardware_ports(const QString& sysClassTty = "/sys/class/tty");

// The per-user folder of virtual ports: $XDG_RUNTIME_DIR/serialcomm, or
// /tmp/serialcomm-<uid> without it.
QString virtual_port_dir();

// Registers `target` (a terminal such as /dev/pts/7) as a virtual port: a link
// to it in the virtual port folder. Its path goes to *linkPath.
bool register_virtual_port(const QString& target, QString* linkPath);
// Removes a link made by register_virtual_port.
void unregister_virtual_port(const QString& linkPath);
