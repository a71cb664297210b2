#pragma once
// SIGINT and SIGTERM reach the event loop as a Qt signal instead of ending
// the program, so that the window can close as the user would and a console
// command can leave the ESC in a safe state first. A second signal ends the
// program at once.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals();  // one instance at a time
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    int caught() const { return caught_; }  // the signal's number; 0: none yet

signals:
    void stopRequested(int signal);

private:
    void onReadable();

    QSocketNotifier* notifier_ = nullptr;
    int caught_ = 0;
};
