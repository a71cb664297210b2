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

}  // namespace
