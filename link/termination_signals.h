#pragma once
// SIGINT and SIGTERM reach the event loop as a Qt signal instead of ending
// the program, so that a command can leave the ESC in a safe state first. A
// second signal ends the program at once.

#include <QObject>

class QSocketNotifier;

namespace cli {

class StopSignals : public QObject {
    Q_OBJECT
public:
    StopSignals();  // one instance at a time
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int caught() const { return caught_; }  // the signal's number; 0: none yet

signals:
    void stopRequested(int signal);

private:
    void onReadable();

    QSocketNotifier* notifier_ = nullptr;
    int caught_ = 0;
};

}  // namespace cli
