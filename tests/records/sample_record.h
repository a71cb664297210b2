#pragma once
// A full record for unit N of a station, the same in the tests and in the
// writer they kill, so that a stored row can be checked column by column.

#include "records/unit_record.h"

inline records::UnitRecord sample_record(const QString& station, qint64 unit)
{
    records::UnitRecord r;
    r.station = station;
    r.port = QStringLiteral("ttyUSB%1").arg(unit % 4);
    r.adapter = QStringLiteral("usb-FTDI_FT232R_USB_UART_A10K%1-if00-port0").arg(unit % 4);
    r.unit = unit;
    r.started_utc = QDateTime(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC).addMSecs(unit * 60000 + 123);
    r.finished_utc = r.started_utc.addMSecs(41234);
    r.model = QStringLiteral("30A");
    r.hw = QStringLiteral("V1.0");
    r.fw_before = QStringLiteral("V1.2");
    r.fw_after = QStringLiteral("V1.3");
    r.settings_before = {0, 1, 2, 3, 0, 1, 2, static_cast<int>(unit % 8)};
    r.settings_written = {1, 1, 2, 3, 0, 1, 2, 0};
    r.settings_read_back = r.settings_written;
    r.steps_ms = {{"identify", 130 + unit}, {"read", 410}, {"firmware", 5210}, {"write", 620}};
    if (unit % 2 == 1) {
        r.image_name = QStringLiteral("upt03.blo");
        r.image_sha256 = QStringLiteral("9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08");
        r.diff = QStringList{"Brake Mode: Brake off -> Low brake", "Timing: \"Low\", 7.5 -> Medium, 15"};
        r.rpm = 10520.25 + unit;
        r.result = QStringLiteral("pass");
    } else {
        r.result = QStringLiteral("fail");
        r.reason = QStringLiteral("the read-back differs from what was written: Brake Mode");
        r.steps_ms.pop_back();
    }
    return r;
}
