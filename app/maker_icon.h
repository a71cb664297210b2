#pragma once
// The program's own picture: a motor bell with three coils and a spark, drawn
// at any size (Image1 shows it at 33 x 33; it is also the window icon).

#include <QPixmap>

class QPainter;

QPixmap draw_maker_icon(int size);

// Paints the picture into a size x size square at the painter's origin; the
// installed icons (SVG and PNG) are drawn by this same function.
void paint_maker_icon(QPainter& p, double size);
