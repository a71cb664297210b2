#include "params/parameter_frame.h"
#include "link/hex_text.h"
#include "params/setting_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(ParameterFrame, DefaultsGoOnTheWireAsTheNineFrameBytes)
{
    const std::optional<QByteArray> frame = encode_parameter_frame(kDefaultSettings);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(*frame, QByteArray("\x43\x00\x00\x01\x00\x00\x01\x02\x00", 9));
}

struct EncodeCase {
    const char* name;
    SettingValues values;
    const char* frame;  // nullptr: refused
    int unencodable;    // position of the first value without a byte, or -1
};
void PrintTo(const EncodeCase& c, std::ostream* os)
{
    *os << c.name;
}

class EncodeTable : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeTable, BuildsTheFrameOrRefuses)
{
    const EncodeCase& c = GetParam();
    EXPECT_EQ(first_unencodable_setting(c.values), c.unencodable);
    const std::optional<QByteArray> frame = encode_parameter_frame(c.values);
    if (c.frame == nullptr) {
        EXPECT_FALSE(frame.has_value());
    } else {
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(to_hex_text(*frame), QLatin1String(c.frame));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, EncodeTable,
    ::testing::Values(EncodeCase{"LastItemOfEveryList", {1, 1, 2, 2, 3, 2, 4, 1}, "430101020203020401", -1},
                      EncodeCase{
                          "ScreenOrderNotControlOrder", {0, 1, 2, 0, 0, 0, 0, 0}, "430001020000000000", -1},
                      EncodeCase{"BytesOutsideTheListsGoAsTheyAre", {5, 1, 2, 2, 3, 9, 4, 1}, "430501020203090401", -1},
                      EncodeCase{"UpperCaseTwoDigits", {10, 0, 0, 0, 0, 0, 0, 255}, "430A000000000000FF", -1},
                      EncodeCase{"FirstListEmpty", {-1, 0, 1, 0, 0, 1, 2, 0}, nullptr, 0},
                      EncodeCase{"BatteryListEmpty", {0, -1, 1, 0, 0, 1, 2, 0}, nullptr, 1},
                      EncodeCase{"GovernorListEmpty", {0, 0, 1, 0, 0, 1, 2, -1}, nullptr, 7},
                      EncodeCase{"FirstOfTwoEmptyIsNamed", {0, 0, -1, 0, 0, -1, 2, 0}, nullptr, 2},
                      EncodeCase{"BeyondOneByte", {0, 0, 1, 0, 256, 1, 2, 0}, nullptr, 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    const char* reply;
    std::optional<SettingValues> values;
};
void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.name;
}

class DecodeTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, ReadsTheEightPairs)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(decode_parameter_frame(QLatin1String(c.reply)), c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DecodeTable,
    ::testing::Values(
        DecodeCase{"Defaults", "430000010000010200", SettingValues{0, 0, 1, 0, 0, 1, 2, 0}},
        DecodeCase{"EachPairInItsPlace", "430102030405060708", SettingValues{1, 2, 3, 4, 5, 6, 7, 8}},
        DecodeCase{"OutOfRangeValueKept", "430005010000010200", SettingValues{0, 5, 1, 0, 0, 1, 2, 0}},
        DecodeCase{"LowerCaseHex", "43ff0a010000010200", SettingValues{255, 10, 1, 0, 0, 1, 2, 0}},
        DecodeCase{"PairNotHexGivesMinusOne", "4300G1010000010200", SettingValues{0, -1, 1, 0, 0, 1, 2, 0}},
        DecodeCase{"CharactersAfterTheFrameIgnored", "4301010202030204017F55",
                   SettingValues{1, 1, 2, 2, 3, 2, 4, 1}},
        DecodeCase{"ShortByOnePair", "4300000100000102", std::nullopt},
        DecodeCase{"ShortByOneCharacter", "43000001000001020", std::nullopt},
        DecodeCase{"WrongMarker", "440000010000010200", std::nullopt},
        DecodeCase{"MarkerNotAtTheStart", "004300000100000102", std::nullopt},
        DecodeCase{"FailedRead", "00", std::nullopt}, DecodeCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
