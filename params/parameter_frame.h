#pragma once
// The parameter frame, the same in both directions: the byte 0x43 and then
// the value of each of the eight settings in frame order, one byte each. A
// value is its item index, or whatever byte the ESC holds when that is none of
// the list's items; such a byte is read and written back as it is.
// It goes out as bytes; a reply is read from the received hex text: "43" and
// eight pairs, 18 characters.

#include "params/parameter_set.h"

#include <QByteArray>
#include <QString>
#include <optional>

inline constexpr int kFrameTextLength = 18;

// Position (0-based, frame order) of the first value that has no one-byte
// encoding, such as the -1 of a list without a selection; -1 when all have.
int first_unencodable_setting(const SettingValues& values);

// 0x43 and each value (0 to 255) as one byte. No frame at all when a value
// cannot be encoded: a guessed byte must never reach the ESC.
std::optional<QByteArray> encode_parameter_frame(const SettingValues& values);

// The eight values of a reply that begins with a frame: "43" and at least 16
// more characters, of which later ones are ignored. Each pair is read as hex,
// 0 to 255 whether or not the list has that item;
// a pair that is not hex gives -1. No values for any other reply.
std::optional<SettingValues> decode_parameter_frame(const QString& reply);
