#pragma once
// The eight ESC settings, one row each in frame order. Every fact about a
// setting is here and nowhere else: the frame, the settings file, setup
// files, backups, the window's lists, the command line and the simulator all
// take it from this table. Plain C++, so that the simulator can use it too.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

inline constexpr int kMaxSettingItems = 5;

struct SettingRow {
    // The key in section INC of the settings file and of setup files. The
    // names do not describe the settings; files in the field rely on them.
    const char* key;
    // The list's caption on the screen, in the boxes and on the command line.
    const char* caption;
    // The list's items in list order; a setting's value is the index of its
    // item here. Unused places are null. A star marks the default item in the
    // list itself, where there is one.
    std::array<const char*, kMaxSettingItems> items;
    int default_item;
    // Set when a setup file holds the setting: what a key that is missing
    // there, or not a number, reads as (not the default). Backups hold every
    // setting.
    std::optional<int> setup_file_fallback;
};

inline constexpr const char* kIncSection = "INC";

// Captions and items are the window's texts, marked for Qt's lupdate, which
// reads the mark; the window translates them in its form's context.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

// key, caption, items, default item, setup-file fallback (none: not in setup
// files). A fallback may be none of the items; the window then shows the list
// without a selection.
inline constexpr std::array kSettingTable = {
    SettingRow{"low_volt_threshold", QT_TRANSLATE_NOOP("TForm1", "Cut Off Type"), {QT_TRANSLATE_NOOP("TForm1", "Soft cut*"), QT_TRANSLATE_NOOP("TForm1", "Cut off")}, 0, 2},
    SettingRow{"low_volt_mode", QT_TRANSLATE_NOOP("TForm1", "Battery Type"), {QT_TRANSLATE_NOOP("TForm1", "Li-xx*"), QT_TRANSLATE_NOOP("TForm1", "Ni-xx")}, 0, 0},
    SettingRow{"startup_mode", QT_TRANSLATE_NOOP("TForm1", "Cut Off Voltage"), {QT_TRANSLATE_NOOP("TForm1", "Low"), QT_TRANSLATE_NOOP("TForm1", "Middle*"), QT_TRANSLATE_NOOP("TForm1", "High")}, 1, 0},
    SettingRow{"break_mode", QT_TRANSLATE_NOOP("TForm1", "Start Mode"), {QT_TRANSLATE_NOOP("TForm1", "Normal start*"), QT_TRANSLATE_NOOP("TForm1", "Soft start"), QT_TRANSLATE_NOOP("TForm1", "Very soft start")}, 0, 0},
    SettingRow{"timing_mode", QT_TRANSLATE_NOOP("TForm1", "Brake Mode"), {QT_TRANSLATE_NOOP("TForm1", "Brake off*"), QT_TRANSLATE_NOOP("TForm1", "Low brake"), QT_TRANSLATE_NOOP("TForm1", "Middle brake"), QT_TRANSLATE_NOOP("TForm1", "High brake")}, 0, 1},
    SettingRow{"current_threshold", QT_TRANSLATE_NOOP("TForm1", "Timing option"), {QT_TRANSLATE_NOOP("TForm1", "Low"), QT_TRANSLATE_NOOP("TForm1", "Middle*"), QT_TRANSLATE_NOOP("TForm1", "High")}, 1, 2},
    SettingRow{"other1", QT_TRANSLATE_NOOP("TForm1", "Current limited sesitivity"), {QT_TRANSLATE_NOOP("TForm1", "Highest"), QT_TRANSLATE_NOOP("TForm1", "High"), QT_TRANSLATE_NOOP("TForm1", "Middle*"), QT_TRANSLATE_NOOP("TForm1", "Low"), QT_TRANSLATE_NOOP("TForm1", "Off")}, 2, std::nullopt},
    SettingRow{"other2", QT_TRANSLATE_NOOP("TForm1", "Govener mode"), {QT_TRANSLATE_NOOP("TForm1", "OFF"), QT_TRANSLATE_NOOP("TForm1", "ON")}, 0, std::nullopt},
};

inline constexpr int kSettingCount = static_cast<int>(kSettingTable.size());

constexpr int setting_item_count(int pos)
{
    int n = 0;
    while (n < kMaxSettingItems && kSettingTable[pos].items[n] != nullptr)
        ++n;
    return n;
}

// Whether the ESC's value is one of the list's items.
constexpr bool is_listed_item(int pos, int value)
{
    return value >= 0 && value < setting_item_count(pos);
}

// One field of every row, in frame order.
template <typename Field>
constexpr auto setting_column(Field SettingRow::*field)
{
    std::array<Field, kSettingCount> column{};
    for (int pos = 0; pos < kSettingCount; ++pos)
        column[pos] = kSettingTable[pos].*field;
    return column;
}

inline constexpr std::array<int, kSettingCount> kDefaultSettings = setting_column(&SettingRow::default_item);

// Setup files hold the settings that come first in frame order.
inline constexpr int kSetupKeyCount = [] {
    int n = 0;
    while (n < kSettingCount && kSettingTable[n].setup_file_fallback)
        ++n;
    return n;
}();

namespace setting_table_checks {
constexpr bool rows_are_sound()
{
    for (int pos = 0; pos < kSettingCount; ++pos) {
        const SettingRow& row = kSettingTable[pos];
        const int count = setting_item_count(pos);
        if (count == 0 || !is_listed_item(pos, row.default_item))
            return false;
        if (row.setup_file_fallback && pos >= kSetupKeyCount)
            return false;  // a setup file holds a leading run of settings only
        for (int i = 0; i < count; ++i)
            if (std::string_view(row.items[i]).ends_with('*') && i != row.default_item)
                return false;  // the star shows the default
        for (int i = count; i < kMaxSettingItems; ++i)
            if (row.items[i] != nullptr)
                return false;
    }
    return true;
}
static_assert(rows_are_sound(), "a row of the settings table contradicts itself");
// The frame carries each value as one byte.
static_assert(kMaxSettingItems <= 256);
}  // namespace setting_table_checks
