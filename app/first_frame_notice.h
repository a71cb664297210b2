#pragma once
// For timing the start-up from outside: with ZELT_ANNOUNCE_SHOWN set in the
// environment, the program prints the line "shown" on standard output once
// the window has painted its first frame. Without it nothing changes.

class QWidget;

void announce_first_frame(QWidget* window);
