#pragma once
// A control's caption and the width its style leaves for it: a caption fits
// when its width under the control's font is within that room.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

inline QString caption_of(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* box = qobject_cast<QGroupBox*>(w))
        return box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    return QString();
}

// The width the style leaves for a control's text.
inline int text_room(QWidget* w)
{
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const auto element =
            qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents;
        return w->style()->subElementRect(element, &opt, w).width();
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = combo->isEditable();
        opt.subControls = QStyle::SC_All;
        return w->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, w).width();
    }
    if (qobject_cast<QLineEdit*>(w))
        return w->width() - 4;
    if (qobject_cast<QGroupBox*>(w))
        return w->width() - 16;
    return w->width();
}
