#pragma once
// The two connection lamps are plain widgets whose background is their brush
// colour: red when lit, silver when not.

#include <QColor>
#include <QWidget>

inline const QColor kLampLit{255, 0, 0};
inline const QColor kLampUnlit{192, 192, 192};

void set_lamp(QWidget* lamp, bool lit);
bool lamp_lit(const QWidget* lamp);
