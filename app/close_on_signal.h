#pragma once
// SIGTERM and SIGINT close the window as the user would, so that its settings
// are written when a desktop session ends or the program is stopped from a
// terminal. A second signal ends the program at once.
//
// Nobody may be there to answer a box then (a desktop session that ends), so a
// failure found while closing on a signal goes to stderr and to the link
// trace, and the program still ends, with exit status 1.

#include "link/termination_signals.h"

#include <QObject>

class QString;
class QWidget;

class CloseOnSignal : public QObject {
    Q_OBJECT
public:
    // One instance at a time.
    explicit CloseOnSignal(QWidget* window);
    ~CloseOnSignal() override;

    // True once a signal has started the close.
    static bool closing();
    // Reports a failure found while closing on a signal, instead of a box.
    static void reportFailure(const QString& text);
    // True when a failure was reported: the program's exit status is then 1.
    static bool failed();
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    void onSignal();

    QWidget* window_;
    TerminationSignals termination_;
};
