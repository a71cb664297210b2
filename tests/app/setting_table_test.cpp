// The settings table in use: each setting once through everything built from
// it. A value other than its default goes through the parameter frame,
// zelt.ini and the window's list, a setup file when one holds the setting, and
// a backup, and comes back the same.

#include "form_fixture.h"

#include "backups/settings_backup.h"
#include "params/ini_file.h"
#include "params/parameter_frame.h"
#include "params/setting_keys.h"
#include "params/setup_file_format.h"
#include "settings/settings_file.h"
#include "testing/qstring_printer.h"
#include "testing/scoped_env.h"

#include <QComboBox>
#include <QDir>

namespace {

TEST_F(FormTest, EachSettingRoundTripsThroughTheFrameTheFilesAndTheWindow)
{
    const ScopedEnv state{"XDG_STATE_HOME", QFile::encodeName(dir.filePath("state"))};
    for (int pos = 0; pos < kSettingCount; ++pos) {
        const SettingRow& row = kSettingTable[pos];
        SCOPED_TRACE(row.caption);
        SettingValues values = kDefaultSettings;
        values[pos] = setting_item_count(pos) - 1;
        ASSERT_NE(values[pos], row.default_item);

        const std::optional<QByteArray> frame = encode_parameter_frame(values);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->at(1 + pos), static_cast<char>(values[pos]));
        EXPECT_EQ(decode_parameter_frame(QString::fromLatin1(frame->toHex().toUpper())), values);

        // zelt.ini into the window's lists at start-up, and back out of them
        // when the window closes.
        ASSERT_TRUE(write_settings(iniPath(), {QStringLiteral("COM1"), values}));
        auto form = makeForm();
        const QString list = QStringLiteral("ComboBox%1").arg(pos + 1);
        EXPECT_EQ(control<QComboBox>(*form, qPrintable(list))->currentText(), QString::fromLatin1(row.items[values[pos]]));
        ASSERT_TRUE(QFile::remove(iniPath()));
        form.reset();
        EXPECT_EQ(read_settings(iniPath()).indexes, values);
        EXPECT_EQ(IniFile(iniPath()).readInteger(kIncSection, row.key, -9), values[pos]);

        if (row.setup_file_fallback) {
            const QString setup = dir.filePath(QStringLiteral("setup.zelt"));
            SetupValues six{};
            std::copy_n(values.begin(), kSetupKeyCount, six.begin());
            ASSERT_TRUE(write_setup_file(setup, six));
            EXPECT_EQ(read_setup_file(setup), six);
            EXPECT_EQ(IniFile(setup).readInteger(kIncSection, row.key, -9), values[pos]);
        }

        QString error;
        const std::optional<QString> backup = backups::save(values, QStringLiteral("ESC_T03"), &error);
        ASSERT_TRUE(backup) << error.toStdString();
        EXPECT_EQ(IniFile(*backup).readInteger(kIncSection, row.key, -9), values[pos]);
        const std::optional<ExtraValues> extra = read_extra_settings(*backup);
        ASSERT_TRUE(extra);
        if (!row.setup_file_fallback)
            EXPECT_EQ((*extra)[pos - kSetupKeyCount], values[pos]);
    }
}

}  // namespace
