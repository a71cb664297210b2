#include "link/hex_text.h"

int hex_digit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

int64_t hex_to_int(const QString& text)
{
    if (text.isEmpty())
        return -1;
    uint32_t value = 0;
    for (QChar c : text) {
        const int d = hex_digit(c);
        if (d < 0)
            return -1;
        value = (value << 4) | static_cast<uint32_t>(d);
    }
    return static_cast<int32_t>(value);
}

QString to_hex_text(const char* bytes, int length)
{
    static const char kDigits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(length * 2);
    for (int i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text.append(QLatin1Char(kDigits[b >> 4]));
        text.append(QLatin1Char(kDigits[b & 0x0F]));
    }
    return text;
}

QString to_hex_text(const QByteArray& bytes)
{
    return to_hex_text(bytes.constData(), static_cast<int>(bytes.size()));
}
