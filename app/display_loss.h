#pragma once
// Qt ends the process itself when the connection to the display breaks: the
// X11 platform calls exit(1), the Wayland one _exit(1), each right after it
// has warned about it. That warning is the program's last moment, so while
// an object of this class exists it is taken as one: every armed port's stop
// byte goes out at once, and then lastWords runs (the window writes its
// settings).

#include <QtGlobal>

#include <functional>

class DisplayLoss {
public:
    explicit DisplayLoss(std::function<void()> lastWords);  // one at a time
    ~DisplayLoss();  // restores the message handler installed before
    DisplayLoss(const DisplayLoss&) = delete;
    DisplayLoss& operator=(const DisplayLoss&) = delete;

    // Whether a message is the platform's last words before it ends the process.
    static bool isConnectionLost(QtMsgType type, const QString& message);

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    std::function<void()> lastWords_;
    QtMessageHandler previous_ = nullptr;
};
