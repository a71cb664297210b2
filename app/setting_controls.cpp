#include "app/setting_controls.h"

#include "ui_tform1.h"

#include <QCoreApplication>

std::array<QComboBox*, kSettingCount> setting_lists(const Ui::TForm1& ui)
{
    return {ui.ComboBox1, ui.ComboBox2, ui.ComboBox3, ui.ComboBox4,
            ui.ComboBox5, ui.ComboBox6, ui.ComboBox7, ui.ComboBox8};
}

void fill_setting_controls(const Ui::TForm1& ui)
{
    const std::array<QLabel*, kSettingCount> captions = {ui.Label6, ui.Label12, ui.Label5,  ui.Label7,
                                                         ui.Label8, ui.Label9,  ui.Label10, ui.Label11};
    const std::array<QComboBox*, kSettingCount> lists = setting_lists(ui);
    for (int pos = 0; pos < kSettingCount; ++pos) {
        captions[pos]->setText(QCoreApplication::translate("TForm1", kSettingTable[pos].caption));
        for (int i = 0; i < setting_item_count(pos); ++i)
            lists[pos]->addItem(QCoreApplication::translate("TForm1", kSettingTable[pos].items[i]));
    }
}
