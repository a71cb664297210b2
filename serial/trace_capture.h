#pragma once
// Routes the link trace ("zelt.link") while an object of this class exists:
// every trace line goes into recent() for a log window, and into a file once
// logToFile() has named one (the --log FILE option). Messages of other
// categories go on to the handler installed before. Create it in main(),
// before any port opens, and let it live until the ports are closed.
//
// A program keeps the last lines (2,000 by default) from its start with
// keepFromStart(), so that a log window opened after something went wrong
// shows what happened.

#include "serial/recent_lines.h"

#include <QFile>
#include <QString>

#include <atomic>
#include <mutex>
#include <optional>

class LinkTraceCapture {
public:
    explicit LinkTraceCapture(int recentCapacity = 2000);
    ~LinkTraceCapture();  // restores the handler installed before, and the trace as it was
    LinkTraceCapture(const LinkTraceCapture&) = delete;
    LinkTraceCapture& operator=(const LinkTraceCapture&) = delete;

    // Appends the trace to path from now on (the file is kept, not emptied)
    // and turns the trace on. On failure the trace stays as it was, and
    // *error gets the system's reason.
    bool logToFile(const QString& path, QString* error);
    // Why a line could not be written to the file; the file is given up
    // then. Empty while every line went in.
    QString fileError();
    RecentLines& recent() { return recent_; }
    // Turns the trace on now and keeps its lines in recent(). Without a file
    // they go nowhere else, unless the logging rules had asked for the trace
    // (then they go on to standard error, as before).
    void keepFromStart();

private:
    void turnTraceOn();
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    bool take(QtMsgType type, const QMessageLogContext& context, const QString& message);

    RecentLines recent_;
    std::mutex fileMutex_;
    QFile file_;
    QString fileError_;
    std::atomic<bool> memoryOnly_{false};  // lines without a file stop here
    // Whether the trace was on before this capture turned it on; put back at
    // its end, so that a capture made later does not take the trace for the
    // rules' wish and print it.
    std::optional<bool> traceBefore_;
    QtMessageHandler previousHandler_ = nullptr;
    LinkTraceCapture* previousCapture_ = nullptr;
};
