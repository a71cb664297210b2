#include "app/form_look.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace {

const QColor kNavy{0, 0, 128};
const QColor kDarkShadow{64, 64, 64};  // the system's 3D dark shadow
const QColor kInactiveBorder{212, 208, 200};
const QColor kHighlight{10, 36, 106};
const QColor kDisabledText{128, 128, 128};
const QColor kFrameLight{150, 150, 190};
const QColor kFrameMidlight{100, 100, 150};
const QColor kFrameMid{60, 60, 110};
const QColor kFrameDark{0, 0, 20};

void set_colours(QWidget* w, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colours)
{
    QPalette p = w->palette();
    for (const auto& [role, colour] : colours) {
        p.setColor(QPalette::Active, role, colour);
        p.setColor(QPalette::Inactive, role, colour);
        // Disabled controls keep their background; only their text greys.
        if (role != QPalette::WindowText && role != QPalette::Text && role != QPalette::ButtonText)
            p.setColor(QPalette::Disabled, role, colour);
    }
    w->setPalette(p);
}

}  // namespace

QFont form_font()
{
    QFont f;
    f.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(10);
    f.setStretch(QFont::SemiCondensed);
    return f;
}

void apply_design_look(QWidget* form)
{
    form->setFont(form_font());
    set_colours(form, {{QPalette::Window, kNavy},
                       {QPalette::WindowText, Qt::white},
                       {QPalette::Text, Qt::white},
                       {QPalette::Base, kDarkShadow},
                       {QPalette::Button, kDarkShadow},
                       {QPalette::ButtonText, Qt::white},
                       // Frames and bevels: light and dark lines that show on dark blue.
                       {QPalette::Light, kFrameLight},
                       {QPalette::Midlight, kFrameMidlight},
                       {QPalette::Mid, kFrameMid},
                       {QPalette::Dark, kFrameDark},
                       {QPalette::Shadow, Qt::black}});
    QPalette p = form->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, kDisabledText);
    form->setPalette(p);
    form->setAutoFillBackground(true);

    const auto edit = [form](const char* name) { return form->findChild<QLineEdit*>(QLatin1String(name)); };
    set_colours(edit("Edit1"), {{QPalette::Base, kInactiveBorder}, {QPalette::Text, Qt::black}});
    set_colours(edit("Edit4"), {{QPalette::Base, kHighlight}});
    // Radio buttons: white circles with a black dot, as on a light desktop.
    for (QRadioButton* radio : form->findChildren<QRadioButton*>())
        set_colours(radio, {{QPalette::Base, Qt::white}, {QPalette::Text, Qt::black}});
}

void set_background(QWidget* w, const QColor& colour)
{
    set_colours(w, {{QPalette::Window, colour}, {QPalette::Base, colour}});
    w->setAutoFillBackground(true);
}

void set_button_face(QPushButton* button, const QColor& colour)
{
    set_colours(button, {{QPalette::Button, colour}, {QPalette::ButtonText, Qt::white}});
}
