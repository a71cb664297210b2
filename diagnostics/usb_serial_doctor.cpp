#include "diagnostics/usb_serial_doctor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Above this an FTDI latency timer makes every exchange noticeably slower;
// 1 ms is what the low-latency request and the udev rule set.
constexpr int kLatencyLimitMs = 2;
constexpr double kSlowRoundTripMs = 10.0;

QByteArray readTrimmed(const QString& path, bool* ok)
{
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    return *ok ? f.readAll().trimmed() : QByteArray();
}

QString ms(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

}  // namespace

std::optional<UsbSerialDevice> read_usb_serial(const QString& sysClassTty, const QString& tty)
{
    const QString device = QFileInfo(sysClassTty + "/" + tty + "/device").canonicalFilePath();
    if (device.isEmpty()) {
        return std::nullopt;
    }
    UsbSerialDevice d;
    d.tty = tty;
    d.driver = QFileInfo(QFileInfo(device + "/driver").canonicalFilePath()).fileName();
    bool ok = false;
    const QByteArray latency = readTrimmed(device + "/latency_timer", &ok);
    d.latencyMs = ok ? latency.toInt(&ok) : -1;
    if (!ok) {
        d.latencyMs = -1;
    }
    // The USB ids are on the first folder above the tty's device that has them.
    QString dir = device;
    for (int up = 0; up < 4 && !dir.isEmpty() && dir != "/"; ++up, dir = QFileInfo(dir).path()) {
        bool vendorOk = false;
        bool productOk = false;
        const QByteArray vendor = readTrimmed(dir + "/idVendor", &vendorOk);
        const QByteArray product = readTrimmed(dir + "/idProduct", &productOk);
        if (vendorOk && productOk) {
            d.vendor = QString::fromLatin1(vendor).toLower();
            d.product = QString::fromLatin1(product).toLower();
            return d;
        }
    }
    return std::nullopt;
}

std::vector<DoctorFinding> usb_serial_findings(const QString& port, const UsbSerialDevice& device,
                                               bool ruleInstalled)
{
    std::vector<DoctorFinding> out;
    const QString driver = device.driver.isEmpty() ? QStringLiteral("unknown") : device.driver;
    out.push_back({port, DoctorCheck::Adapter, DoctorVerdict::Ok,
                   QStringLiteral("USB adapter %1:%2, driver %3").arg(device.vendor, device.product, driver), {}});
    if (device.driver != QLatin1String("ftdi_sio") || device.latencyMs < 0) {
        return out;
    }
    if (device.latencyMs <= kLatencyLimitMs) {
        out.push_back({port, DoctorCheck::LatencyTimer, DoctorVerdict::Ok,
                       QStringLiteral("latency timer %1 ms").arg(device.latencyMs), {}});
        return out;
    }
    out.push_back(
        {port, DoctorCheck::LatencyTimer, DoctorVerdict::Problem,
         QStringLiteral("latency timer %1 ms: the adapter holds each reply of the card up to %1 ms, which slows "
                        "every exchange (the speed test and firmware updates most)")
             .arg(device.latencyMs),
         QStringLiteral("echo 1 | sudo tee /sys/bus/usb-serial/devices/%1/latency_timer   (until it is unplugged); "
                        "for good, the udev rule sets 1 ms whenever the adapter is plugged in: %2")
             .arg(device.tty, ruleInstalled ? QStringLiteral("unplug the adapter and plug it in again")
                                     : QStringLiteral("install it (see below)"))});
    return out;
}

DoctorFinding round_trip_finding(const QString& port, std::vector<double> roundTripsMs)
{
    std::sort(roundTripsMs.begin(), roundTripsMs.end());
    const size_t n = roundTripsMs.size();
    const double median = n == 0 ? 0.0
                          : n % 2 ? roundTripsMs[n / 2]
                                  : (roundTripsMs[n / 2 - 1] + roundTripsMs[n / 2]) / 2;
    const double worst = n == 0 ? 0.0 : roundTripsMs.back();
    const QString text = QStringLiteral("the card answers the probe in %1 (median of %2 tries), %3 at worst")
                             .arg(ms(median))
                             .arg(n)
                             .arg(ms(worst));
    if (median <= kSlowRoundTripMs) {
        return {port, DoctorCheck::RoundTrip, DoctorVerdict::Ok, text, {}};
    }
    return {port, DoctorCheck::RoundTrip, DoctorVerdict::Problem,
            text + QStringLiteral(": slow, the adapter holds the replies back"),
            QStringLiteral("on an FTDI adapter, set its latency timer to 1 ms (its finding above says how); the "
                           "hold times of other adapters cannot be changed")};
}
