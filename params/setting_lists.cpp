#include "params/setting_lists.h"

#include <QComboBox>
#include <QWidget>

QComboBox* setting_list(QWidget* form, int pos)
{
    return form->findChild<QComboBox*>(QLatin1String(kSettingControls[pos].list));
}

int list_value(QWidget* form, int pos)
{
    return setting_list(form, pos)->currentIndex();
}

void assign_list_value(QWidget* form, int pos, int value)
{
    QComboBox* list = setting_list(form, pos);
    list->setCurrentIndex(value >= 0 && value < list->count() ? value : -1);
}

SettingValues list_values(QWidget* form)
{
    SettingValues values{};
    for (int i = 0; i < kSettingCount; ++i)
        values[i] = list_value(form, i);
    return values;
}

void assign_list_values(QWidget* form, const SettingValues& values)
{
    for (int i = 0; i < kSettingCount; ++i)
        assign_list_value(form, i, values[i]);
}
