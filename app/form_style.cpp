#include "app/form_style.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace {

constexpr int kTitleIndent = 8;
constexpr int kTitlePadding = 2;

}  // namespace

FormStyle::FormStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QRect FormStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box)
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const int textHeight = box->fontMetrics.height();
    const QRect r = box->rect;
    switch (sub) {
        case SC_GroupBoxFrame:
            return r.adjusted(0, textHeight / 2, 0, 0);
        case SC_GroupBoxLabel:
            return QRect(r.left() + kTitleIndent, r.top(),
                         box->fontMetrics.horizontalAdvance(box->text) + 2 * kTitlePadding, textHeight);
        case SC_GroupBoxContents:
            return r.adjusted(1, textHeight, -1, -1);
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}

void FormStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget).adjusted(0, 0, -1, -1);
    const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);

    painter->save();
    // An etched line: dark, with a light line one pixel inside it, broken
    // where the title stands.
    painter->setClipRegion(QRegion(box->rect).subtracted(label));
    painter->setBrush(Qt::NoBrush);
    painter->setPen(box->palette.color(QPalette::Dark));
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    painter->setPen(box->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, 0, 0));
    painter->setClipping(false);
    drawItemText(painter, label.adjusted(kTitlePadding, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                 box->palette, box->state & State_Enabled, box->text, QPalette::WindowText);
    painter->restore();
}

int FormStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_RadioButtonLabelSpacing:
            return 4;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void apply_form_style(QWidget* form)
{
    static QPointer<FormStyle> style;
    if (!style) {
        style = new FormStyle;
        style->setParent(QCoreApplication::instance());
    }
    form->setStyle(style);
    for (QWidget* w : form->findChildren<QWidget*>())
        w->setStyle(style);
}
