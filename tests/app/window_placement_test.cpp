// Where the main window opens on screens of every size: at its designed
// place when it fits there, else up and left until it does, its title bar
// never off-screen.

#include "app/window_placement.h"
#include "form_fixture.h"

#include <QPoint>
#include <QRect>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

// The window's frame: the designed 389 x 463 with a 1-pixel border and a
// 29-pixel title bar, at its designed place.
const QSize kFrame(391, 493);
const QPoint kDesigned(358, 206);

TEST(WindowPlacement, FitsTheAvailableAreaTitleBarFirst)
{
    const struct {
        const char* screen;
        QRect available;  // in the desktop's logical pixels
        QPoint expected;
    } cases[] = {
        {"1920x1080, panel at the bottom", {0, 0, 1920, 1040}, kDesigned},
        {"1366x768, 32-pixel panel at the top", {0, 32, 1366, 736}, kDesigned},
        {"exactly the frame's room", {0, 0, 358 + 391, 206 + 493}, kDesigned},
        {"one pixel short each way", {0, 0, 358 + 390, 206 + 492}, {357, 205}},
        {"800x480 bench screen: too low, the title bar at the top", {0, 0, 800, 480}, {358, 0}},
        {"1280x720 at 125 %, 27-pixel top panel", {0, 27, 1024, 549}, {358, 83}},
        {"1024x768 at scale 2: moved left, title bar at the top", {0, 0, 512, 384}, {121, 0}},
        {"a screen whose origin is at 1920,0", {1920, 0, 1280, 1024}, {1920, 206}},
        {"left and top panels larger than the designed place", {400, 250, 1520, 830}, {400, 250}},
        {"smaller than the frame both ways, offset origin", {100, 50, 300, 200}, {100, 50}},
    };
    for (const auto& c : cases) {
        const QPoint place = place_window(kDesigned, kFrame, c.available);
        EXPECT_EQ(place, c.expected) << c.screen << ": got " << place.x() << "," << place.y();
    }
}

// The real window, shown on the offscreen screen (800 x 800), where its
// frame fits with a title bar counted: it stays at its designed place and
// size.
class WindowPlacementForm : public FormTest {};

TEST_F(WindowPlacementForm, TheShownWindowStaysWhereItFits)
{
    auto form = makeForm();
    form->show();
    const QSize designed = form->size();
    const QRect available = form->screen()->availableGeometry();
    if (!available.contains(QRect(kDesigned, designed + QSize(0, 60))))
        GTEST_SKIP() << "this offscreen screen is smaller than the designed place needs";
    fit_window_on_screen(*form);
    EXPECT_EQ(form->size(), designed);
    EXPECT_EQ(form->frameGeometry().topLeft(), kDesigned);
}

}  // namespace
