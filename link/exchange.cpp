#include "link/link.h"

#include <QApplication>
#include <QTimer>

Link::Exchange::Exchange(Link& link, bool showCursor) : link_(link), cursor_(showCursor)
{
    ++link_.exchanges_;
    if (cursor_)
        QApplication::setOverrideCursor(Qt::BusyCursor);
}

Link::Exchange::~Exchange()
{
    if (cursor_)
        QApplication::restoreOverrideCursor();
    if (--link_.exchanges_ == 0)
        link_.exchange_ended();
}

void Link::exchange_ended()
{
    // A Timer1 tick held back during the exchange runs from the event loop,
    // not from inside the handler that is just returning. Should a new
    // exchange have started by then, the tick waits for its end instead.
    QTimer::singleShot(0, this, [this] {
        if (!busy())
            timer1_.flushDeferred();
    });
}

bool Link::run_command(const std::function<void()>& handler, bool showCursor)
{
    if (busy())
        return false;
    Exchange exchange(*this, showCursor);
    handler();
    return true;
}
