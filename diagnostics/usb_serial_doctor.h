#pragma once
// The doctor's look at the USB adapter behind a port: its driver and USB ids
// from sysfs, and for an FTDI adapter its latency timer, which holds each of
// the card's replies back by that many milliseconds (16 by default). Also
// how to report the probe's round trip measured on an open port.

#include "diagnostics/port_doctor.h"

#include <optional>
#include <vector>

struct UsbSerialDevice {
    QString tty;     // "ttyUSB0", whatever name the port was given by
    QString driver;  // the driver's name in sysfs ("ftdi_sio", "ch341-uart"); empty when unknown
    QString vendor;  // "0403"
    QString product;
    int latencyMs = -1;  // the FTDI latency timer; -1 when there is none to read
};

// The device behind the tty named tty ("ttyUSB0"), read below sysClassTty
// (the root's /sys/class/tty); nothing for a device without USB ids.
std::optional<UsbSerialDevice> read_usb_serial(const QString& sysClassTty, const QString& tty);

// The findings for the adapter of port (a device path, or a link to one).
// ruleInstalled tells which lasting fix to give for a slow latency timer.
std::vector<DoctorFinding> usb_serial_findings(const QString& port, const UsbSerialDevice& device,
                                               bool ruleInstalled);

// The probe's round trips in milliseconds as one finding: median and worst,
// slow when the median is above 10 ms.
DoctorFinding round_trip_finding(const QString& port, std::vector<double> roundTripsMs);
