#pragma once
// Helpers shared by the serial tests: an event recorder attached to a TComm,
// the event-loop waits, and a pseudo-terminal.

#include "serial/tcomm.h"
#include "testing/event_wait.h"

#include <QByteArray>
#include <QThread>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

inline bool waitUntil(const std::function<bool()>& cond, int timeoutMs)
{
    return wait_until(cond, timeoutMs);
}

// Everything a TComm raised, in order.
struct CommRecorder {
    struct Entry {
        char kind;  // 'D' data, 'E' line error, 'H' hang-up, 'M' modem, 'S' send-data-empty
        QByteArray bytes;
        uint32_t value = 0;
        bool zeroAfter = false;  // the byte after the block was 0
        bool onMainThread = false;
    };
    explicit CommRecorder(TComm& comm);

    QByteArray received() const;
    int count(char kind) const;
    std::vector<Entry> of(char kind) const;
    std::string kinds() const;  // e.g. "SDDE"

    std::vector<Entry> entries;
};

// A pseudo-terminal whose slave the component opens and whose master the
// test reads and writes. The test keeps a slave descriptor open too, as a
// device simulator would, so the master never sees a hang-up.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    QString slavePath() const { return slavePath_; }
    int master() const { return master_; }
    // Reads exactly n bytes from the master, or what came within timeoutMs.
    QByteArray readMaster(size_t n, int timeoutMs);
    void writeMaster(const QByteArray& bytes);

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

// Bytes 0..255 repeated, offset by seed, so that order and gaps show.
QByteArray pattern(int size, int seed);
