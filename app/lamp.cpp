#include "app/lamp.h"

#include <QPalette>

void set_lamp(QWidget* lamp, bool lit)
{
    QPalette p = lamp->palette();
    p.setColor(QPalette::Window, lit ? kLampLit : kLampUnlit);
    lamp->setPalette(p);
    lamp->setAutoFillBackground(true);
}

bool lamp_lit(const QWidget* lamp)
{
    return lamp->palette().color(QPalette::Window) == kLampLit;
}
