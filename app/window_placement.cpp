#include "app/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

QPoint place_window(QPoint designed, QSize frame, const QRect& available)
{
    // Title bar first: the lower bound wins over the upper one.
    const auto fit = [](int at, int length, int low, int span) {
        return std::max(low, std::min(at, low + span - length));
    };
    return {fit(designed.x(), frame.width(), available.left(), available.width()),
            fit(designed.y(), frame.height(), available.top(), available.height())};
}

void fit_window_on_screen(QWidget& window)
{
    QScreen* screen = window.screen();
    if (!screen) {
        return;
    }
    QSize frame = window.frameGeometry().size();
    if (frame == window.size() && !window.isFullScreen()) {
        // The window manager has not told the frame yet: count a title bar
        // of the style's height, so that it is never the part left off.
        frame.rheight() += window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    }
    const QPoint place = place_window(window.frameGeometry().topLeft(), frame, screen->availableGeometry());
    if (place != window.frameGeometry().topLeft()) {
        window.move(place);
    }
}
