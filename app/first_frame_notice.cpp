#include "app/first_frame_notice.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class FirstFrameNotice : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            // The window paints its children and flushes the frame before the
            // event loop turns again; a zero timer runs after that.
            QTimer::singleShot(0, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
            });
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

}  // namespace

void announce_first_frame(QWidget* window)
{
    if (qEnvironmentVariableIsSet("ZELT_ANNOUNCE_SHOWN"))
        window->installEventFilter(new FirstFrameNotice(window));
}
