#pragma once
// The two connection lamps are plain widgets whose background is their brush
// colour: red when lit, silver when not. The colour alone tells nothing to
// a screen reader or to a user who cannot tell red from silver: the lamp's
// accessible description and tooltip say its state in words.

#include <QColor>
#include <QString>
#include <QWidget>

inline const QColor kLampLit{255, 0, 0};
inline const QColor kLampUnlit{192, 192, 192};

void set_lamp(QWidget* lamp, bool lit, const QString& state);
bool lamp_lit(const QWidget* lamp);
