#pragma once
// A signal that asks the program to end (stop_signals.h) closes the window
// as the user would: speed mode ends with FF and the settings are written.
//
// Nobody may be there to answer a box then (a desktop session that ends), so a
// failure found while closing on a signal goes to stderr and to the link
// trace, and the program still ends, with exit status 1.

#include <QObject>

class QString;
class QWidget;
class StopSignals;

class CloseOnSignal : public QObject {
    Q_OBJECT
public:
    // One instance at a time. A signal caught before it exists (while the
    // window searched at start-up) closes the window as soon as the event
    // loop runs.
    CloseOnSignal(QWidget* window, StopSignals& stop);
    ~CloseOnSignal() override;

    // True once the program ends with nobody to answer a box: a signal has
    // started the close, or the display has gone.
    static bool closing();
    static void beginUnattendedEnd();
    // Reports a failure found while closing on a signal, instead of a box.
    static void reportFailure(const QString& text);
    // True when a failure was reported: the program's exit status is then 1.
    static bool failed();
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    void onSignal();

    QWidget* window_;
};
