#pragma once
// SIGTERM and SIGINT close the window as the user would, so that its settings
// are written when a desktop session ends or the program is stopped from a
// terminal. A second signal ends the program at once.

#include <QObject>

class QSocketNotifier;
class QWidget;

class CloseOnSignal : public QObject {
    Q_OBJECT
public:
    // One instance at a time.
    explicit CloseOnSignal(QWidget* window);
    ~CloseOnSignal() override;
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    void onSignal();

    QWidget* window_;
    QSocketNotifier* notifier_ = nullptr;
};
