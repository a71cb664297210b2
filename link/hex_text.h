#pragma once
// Hex text: bytes held as text of hexadecimal digits, two per byte, most
// significant first, as the receive side accumulates what arrives: received
// bytes become upper-case text. Requests go out as bytes.

#include <QByteArray>
#include <QString>
#include <cstdint>

// 0..15 for 0-9, A-F, a-f; -1 for any other character.
int hex_digit(QChar c);

// Value of a hex text accumulated in 32 bits and widened with its sign, so
// "FFFFFFFF" also gives -1. Empty text or any non-hex character gives -1.
int64_t hex_to_int(const QString& text);

// Two upper-case digits per byte.
QString to_hex_text(const char* bytes, int length);
QString to_hex_text(const QByteArray& bytes);

// The largest request the link sends in one piece.
inline constexpr int kMaxRequestBytes = 256;
