#pragma once
// The codes on the line, named. Requests go out as bytes; replies are
// compared as the hex text the receive side accumulates (two upper-case
// digits a byte).

#include <QString>
#include <cstdint>

namespace request {
inline constexpr uint8_t kWriteSettings = 0x03;  // then the parameter frame
inline constexpr uint8_t kStartSpeedTest = 0x06;
inline constexpr uint8_t kStartFirmwareWrite = 0x07;
inline constexpr uint8_t kReadBackFirmware = 0x0B;
inline constexpr uint8_t kAnnounceFirmware = 0x0C;  // then 0x00 and the image's version code
inline constexpr uint8_t kReadSettings = 0x0D;
inline constexpr uint8_t kProbeCard = 0x35;
inline constexpr uint8_t kIdentifyEsc = 0x50;
// Ends speed mode: the ESC lets go of the motor.
inline constexpr uint8_t kReleaseMotor = 0xFF;
}  // namespace request

namespace reply {
inline const QString kCardHere = QStringLiteral("2501");   // the card, to the probe or unasked
inline const QString kIdentification = QStringLiteral("50");  // first byte of the 4-byte identification
inline const QString kNoEsc = QStringLiteral("50000000");  // the identification when no ESC is behind the card
inline const QString kSettingsFrame = QStringLiteral("43");  // first byte of the parameter frame
inline const QString kAck = QStringLiteral("55");         // written, or (firmware) finished
inline const QString kNextBlock = QStringLiteral("59");   // firmware: send the next block
}  // namespace reply
