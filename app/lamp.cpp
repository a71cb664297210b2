#include "app/lamp.h"

#include <QPalette>

void set_lamp(QWidget* lamp, bool lit, const QString& state)
{
    QPalette p = lamp->palette();
    p.setColor(QPalette::Window, lit ? kLampLit : kLampUnlit);
    lamp->setPalette(p);
    lamp->setAutoFillBackground(true);
    lamp->setAccessibleDescription(state);
    lamp->setToolTip(state);
}

bool lamp_lit(const QWidget* lamp)
{
    return lamp->palette().color(QPalette::Window) == kLampLit;
}
