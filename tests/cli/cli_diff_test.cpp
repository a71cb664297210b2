// zelt-cli diff: setup files against the settings the ESC holds. Only the
// search and the read reach the line.

#include "cli_fixture.h"
#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "testing/qstring_printer.h"

#include <vector>

namespace {

struct DiffRow {
    const char* name;
    std::array<uint8_t, 8> held;
    std::vector<int> file;  // six values, or eight for a backup
    const char* out;
    int status;
};

const DiffRow kRows[] = {
    {"NothingDiffers", {0, 0, 1, 0, 0, 1, 2, 0}, {0, 0, 1, 0, 0, 1}, "", 0},
    {"OneSetting", {0, 0, 1, 0, 0, 1, 2, 0}, {0, 0, 1, 0, 1, 1}, "Brake Mode: Brake off -> Low brake\n", 1},
    // A plain setup file leaves the last two as the ESC holds them.
    {"EverySettingOfTheFile",
     {1, 1, 2, 2, 3, 2, 4, 1},
     {0, 0, 1, 0, 0, 1},
     "Cut Off Type: Cut off -> Soft cut\n"
     "Battery Type: Ni-xx -> Li-xx\n"
     "Cut Off Voltage: High -> Middle\n"
     "Start Mode: Very soft start -> Normal start\n"
     "Brake Mode: High brake -> Brake off\n"
     "Timing option: High -> Middle\n",
     1},
    {"BackupGivesAllEight",
     {0, 0, 1, 0, 0, 1, 2, 0},
     {0, 0, 1, 0, 0, 1, 4, 1},
     "Current limited sesitivity: Middle -> Off\nGovener mode: OFF -> ON\n",
     1},
    {"BackupThatMatches", {1, 1, 2, 2, 3, 2, 4, 1}, {1, 1, 2, 2, 3, 2, 4, 1}, "", 0},
};

class CliDiffTest : public CliTest, public ::testing::WithParamInterface<DiffRow> {};

TEST_P(CliDiffTest, ShowsWhatAWriteWouldChange)
{
    const DiffRow& row = GetParam();
    const QString file = xdg("XDG_DATA_HOME", "golden.zelt");
    IniFile ini(file);
    for (size_t pos = 0; pos < row.file.size(); ++pos)
        ini.writeInteger(kIncSection, kIncKeys[pos], row.file[pos]);
    ASSERT_TRUE(ini.save());
    sim_->set_settings(row.held);
    sim_->clear_received();

    const CliRun run = cli({"diff", file, "--port", "PORT"});
    EXPECT_EQ(run.status, row.status) << describe({"diff", file}, run);
    EXPECT_EQ(run.out, row.out) << describe({"diff", file}, run);
    const std::vector<uint8_t> wire = sim_->received();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wire.data()), wire.size()).toHex().toUpper(), "35500D");
    EXPECT_EQ(sim_->settings(), row.held);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliDiffTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
