#pragma once
// The window's look: its font, the colours it is designed with, and the
// colours the start-up sequence gives the window and the push buttons.

#include <QColor>
#include <QFont>

class QPushButton;
class QWidget;

inline const QColor kWindowColour{0, 0, 51};  // a very dark blue
inline const QColor kButtonFace{0, 0, 60};

// A small sans-serif face, narrowed so that the captions fit their controls.
QFont form_font();

// The design colours: white captions on the window, dark lists and boxes.
void apply_design_look(QWidget* form);

// Backgrounds the code sets at start-up.
void set_background(QWidget* w, const QColor& colour);
void set_button_face(QPushButton* button, const QColor& colour);
