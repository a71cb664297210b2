#include "serial/trace_capture.h"

#include "serial/link_trace.h"

#include <cstring>

namespace {

// The capture that handles messages now; messages may come from any thread.
// Recursive: a slot connected directly to lineAppended may log in its turn.
std::recursive_mutex captureMutex;
LinkTraceCapture* activeCapture = nullptr;
QtMessageHandler outerHandler = nullptr;

}  // namespace

LinkTraceCapture::LinkTraceCapture(int recentCapacity) : recent_(recentCapacity)
{
    std::lock_guard lock(captureMutex);
    previousCapture_ = activeCapture;
    activeCapture = this;
    previousHandler_ = qInstallMessageHandler(&LinkTraceCapture::handle);
    if (!previousCapture_) {
        outerHandler = previousHandler_;
    }
}

LinkTraceCapture::~LinkTraceCapture()
{
    std::lock_guard lock(captureMutex);
    qInstallMessageHandler(previousHandler_);
    activeCapture = previousCapture_;
    if (traceBefore_)
        enable_link_trace(*traceBefore_);
}

void LinkTraceCapture::turnTraceOn()
{
    if (!traceBefore_)
        traceBefore_ = lcLink().isDebugEnabled();
    enable_link_trace(true);
}

bool LinkTraceCapture::logToFile(const QString& path, QString* error)
{
    std::lock_guard lock(fileMutex_);
    if (file_.isOpen()) {
        file_.close();
    }
    fileError_.clear();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        if (error) {
            *error = file_.errorString();
        }
        return false;
    }
    turnTraceOn();
    return true;
}

void LinkTraceCapture::keepFromStart()
{
    memoryOnly_ = !lcLink().isDebugEnabled();
    turnTraceOn();
}

QString LinkTraceCapture::fileError()
{
    std::lock_guard lock(fileMutex_);
    return fileError_;
}

bool LinkTraceCapture::take(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!context.category || std::strcmp(context.category, lcLink().categoryName()) != 0) {
        return false;
    }
    recent_.append(message);
    std::lock_guard lock(fileMutex_);
    if (!file_.isOpen()) {
        // Kept in memory only (or the file failed, which the program
        // reports), but a warning (a failure reported in the trace's
        // category) is still shown where messages go.
        return (memoryOnly_ || !fileError_.isEmpty()) && type < QtWarningMsg;
    }
    const QByteArray line = message.toUtf8() + '\n';
    // Flushed per line: a trace must survive the crash it helps to explain.
    if (file_.write(line) != line.size() || !file_.flush()) {
        // Once is enough: the lines after it would fail alike.
        fileError_ = file_.errorString();
        file_.close();
    }
    return true;
}

void LinkTraceCapture::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    std::unique_lock lock(captureMutex);
    if (activeCapture && activeCapture->take(type, context, message)) {
        return;
    }
    // Never null: Qt hands back its default handler when none was installed.
    const QtMessageHandler next = outerHandler;
    lock.unlock();
    next(type, context, message);
}
