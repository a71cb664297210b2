#include "params/setting_lists.h"

#include "link/esc_view.h"

SettingValues list_values(const EscView& view)
{
    SettingValues values{};
    for (int i = 0; i < kSettingCount; ++i)
        values[i] = view.settingIndex(i);
    return values;
}

void assign_list_values(EscView& view, const SettingValues& values)
{
    for (int i = 0; i < kSettingCount; ++i)
        view.showSettingIndex(i, values[i]);
}
