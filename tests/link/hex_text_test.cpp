#include "link/hex_text.h"

#include <gtest/gtest.h>

namespace {

struct HexCase {
    const char* text;
    int64_t value;
};

TEST(HexToInt, ValuesAndRejections)
{
    const HexCase cases[] = {
        {"ff", 255},
        {"FF", 255},
        {"0", 0},
        {"a", 10},
        {"0c00", 0x0C00},
        {"7FFFFFFF", 0x7FFFFFFF},
        {"80000000", -2147483648LL},  // sign-widened from 32 bits
        {"FFFFFFFF", -1},
        {"1G", -1},
        {"", -1},
        {" 1", -1},
        {"1 ", -1},
        {"-1", -1},
        {"0x1", -1},
        {"g", -1},
    };
    for (const HexCase& c : cases)
        EXPECT_EQ(hex_to_int(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(HexToInt, NonLatinDigitIsRejected)
{
    EXPECT_EQ(hex_to_int(QString(QChar(0xFF21))), -1);  // full-width A
    EXPECT_EQ(hex_to_int(QString::fromUtf8("1\u00e9")), -1);
}

TEST(HexText, ReceivedBytesBecomeUpperCaseDigitPairs)
{
    const char bytes[] = {0x25, 0x01, char(0xAB), 0x00, char(0xFF), 0x5c};
    EXPECT_EQ(to_hex_text(bytes, 6), QStringLiteral("2501AB00FF5C"));
    EXPECT_EQ(to_hex_text(bytes, 0), QString());
    EXPECT_EQ(to_hex_text(QByteArray("\x0f\xf0", 2)), QStringLiteral("0FF0"));
}

struct RequestCase {
    const char* text;
    bool sent;
    QByteArray bytes;
};

TEST(RequestBytes, PairsOddTailAndBadPairs)
{
    const RequestCase cases[] = {
        {"0c00", true, QByteArray("\x0c\x00", 2)},
        {"ABC", true, QByteArray("\xab", 1)},
        {"35", true, QByteArray("\x35", 1)},
        {"A", true, QByteArray()},
        {"", true, QByteArray()},
        {"0G12", false, {}},
        {"G012", false, {}},
        {"12 3", false, {}},
        {"1234Z", true, QByteArray("\x12\x34", 2)},  // the odd tail is never looked at
    };
    for (const RequestCase& c : cases) {
        const auto bytes = request_bytes(QString::fromLatin1(c.text));
        ASSERT_EQ(bytes.has_value(), c.sent) << c.text;
        if (c.sent) {
            EXPECT_EQ(*bytes, c.bytes) << c.text;
        }
    }
}

TEST(RequestBytes, LongestRequestIsWholeAndLongerIsRefused)
{
    QString max;
    QByteArray expected;
    for (int i = 0; i < kMaxRequestBytes; ++i) {
        max += QString::asprintf("%02x", i);
        expected.append(char(i));
    }
    ASSERT_EQ(request_bytes(max), expected);
    EXPECT_EQ(request_bytes(max + QStringLiteral("0")), expected);  // odd tail ignored
    EXPECT_FALSE(request_bytes(max + QStringLiteral("00")).has_value());
}

}  // namespace
