#include "link/model_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ModelTable, EveryTypeCodeHasItsLabelAndGroup)
{
    const struct {
        const char* code;
        const char* label;
        int group;
    } rows[] = {
        {"01", "ESC_T01", 1}, {"02", "ESC_T02", 1}, {"03", "ESC_T03", 1}, {"04", "ESC_T04", 2},
        {"05", "ESC_T05", 2}, {"06", "ESC_T06", 2}, {"07", "ESC_T07", 3}, {"08", "ESC_T08", 4},
        {"09", "ESC_T09", 4}, {"0A", "ESC_T10", 4}, {"0B", "ESC_T11", 4}, {"0C", "ESC_T12", 5},
        {"0D", "ESC_T13", 5}, {"0E", "ESC_T14", 6}, {"0F", "ESC_T15", 6},
    };
    for (const auto& r : rows) {
        const auto m = find_model(QString::fromLatin1(r.code));
        ASSERT_TRUE(m.has_value()) << r.code;
        EXPECT_STREQ(m->label, r.label);
        EXPECT_EQ(m->group, r.group) << r.code;
    }
}

TEST(ModelTable, UnlistedCodesAreNotModels)
{
    for (const char* code : {"00", "10", "FF", "0a", "1", "003", ""})
        EXPECT_FALSE(find_model(QString::fromLatin1(code)).has_value()) << code;
}

TEST(ModelTable, LabelSetsDifferInBlanksAndCase)
{
    EXPECT_STREQ(kLabelsDesign.type, "HW Type: Unknown");
    EXPECT_STREQ(kLabelsDesign.hwVersion, "HW version: Unknown");
    EXPECT_STREQ(kLabelsDesign.fwVersion, "FW version: Unknown");
    EXPECT_STREQ(kLabelsNoEsc.type, "HW type: unknown");
    EXPECT_STREQ(kLabelsNoEsc.hwVersion, "HW version: unknown");
    EXPECT_STREQ(kLabelsNoEsc.fwVersion, "FW version: unknown");
    EXPECT_STREQ(kLabelsUnknown.type, "HW type:unknown");
    EXPECT_STREQ(kLabelsUnknown.hwVersion, "HW version:unknown");
    EXPECT_STREQ(kLabelsUnknown.fwVersion, "FW version:unknown");
}

TEST(Identification, DecodesLabelsDigitByDigit)
{
    const struct {
        const char* reply;
        const char* type;
        const char* hw;
        const char* fw;
        int group;  // 0: not listed
    } cases[] = {
        {"50031012", "HW type:ESC_T03", "HW version:V1.0", "FW version:V1.2", 1},
        {"50101111", "HW type:", "HW version:V1.1", "FW version:V1.1", 0},
        {"50051A2F", "HW type:ESC_T05", "HW version:V1.A", "FW version:V2.F", 2},
        {"50000000", "HW type:", "HW version:V0.0", "FW version:V0.0", 0},
        {"420E3344", "HW type:ESC_T14", "HW version:V3.3", "FW version:V4.4", 6},  // first byte unchecked
    };
    for (const auto& c : cases) {
        const Identification id = decode_identification(QString::fromLatin1(c.reply));
        EXPECT_EQ(id.type, QString::fromLatin1(c.type)) << c.reply;
        EXPECT_EQ(id.hwVersion, QString::fromLatin1(c.hw)) << c.reply;
        EXPECT_EQ(id.fwVersion, QString::fromLatin1(c.fw)) << c.reply;
        EXPECT_EQ(id.model ? id.model->group : 0, c.group) << c.reply;
    }
}

}  // namespace
