#pragma once
// A scripted device on a pseudo-terminal for the link tests: it records every
// byte the program writes and answers requests by their first byte.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    QString path() const { return path_; }

    // Every later write that begins with `request` is answered with the
    // pieces of `reply`, each written separately after gapMs.
    void answer(char request, std::vector<QByteArray> pieces, int gapMs = 0);
    void send(const QByteArray& bytes);  // unasked bytes
    QByteArray received() const;
    void clear();
    // Waits (without the event loop) until `bytes` has been received in full.
    bool waitReceived(const QByteArray& bytes, int timeoutMs) const;

private:
    struct Script {
        std::vector<QByteArray> pieces;
        int gapMs;
    };
    void serve();

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    QByteArray received_;
    std::map<char, Script> scripts_;
    std::thread thread_;
};
