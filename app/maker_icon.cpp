#include "app/maker_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

QPixmap draw_maker_icon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paint_maker_icon(p, size);
    return pixmap;
}

void paint_maker_icon(QPainter& p, double size)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // The motor's bell.
    p.setPen(QPen(QColor(200, 200, 210), 1.5));
    p.setBrush(QColor(40, 60, 120));
    p.drawEllipse(QPointF(16, 16), 14.5, 14.5);

    // Three coils around the shaft, 120 degrees apart.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 140, 40));
    for (int i = 0; i < 3; ++i) {
        const double a = (90.0 + 120.0 * i) * std::numbers::pi / 180.0;
        p.drawEllipse(QPointF(16 + 9 * std::cos(a), 16 - 9 * std::sin(a)), 4.0, 4.0);
    }

    // The spark across the middle.
    const QPolygonF spark{{18, 5}, {11, 17}, {15.5, 17}, {13, 27}, {21, 14}, {16.5, 14}, {19, 5}};
    p.setPen(QPen(QColor(60, 40, 0), 0.8));
    p.setBrush(QColor(255, 220, 40));
    p.drawPolygon(spark);
    p.restore();
}
