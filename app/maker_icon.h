#pragma once
// The program's own picture: a motor bell with three coils and a spark, drawn
// at any size (Image1 shows it at 33 x 33; it is also the window icon).

#include <QPixmap>

QPixmap draw_maker_icon(int size);
