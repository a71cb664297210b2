#pragma once
// Where the main window opens. It has one designed place; on a small screen
// (a 7-inch 800x480 bench display, 1280x720 at 125 %, any screen at scale 2)
// that place would leave its lower part, or even its title bar, off-screen.
// The window's size is the design's and never changes: only the place does.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The top-left corner of the window's frame (title bar and borders
// included, frame being that whole size): designed when the frame fits the
// screen's available area there; otherwise moved up and left until it
// fits. A frame larger than the area keeps its top-left corner, the title
// bar, inside it.
QPoint place_window(QPoint designed, QSize frame, const QRect& available);

// Moves a shown window so that its frame fits the available area of the
// screen it is on, by place_window from where it is now.
void fit_window_on_screen(QWidget& window);
