#pragma once
// Work that must end before the program does, even when it is asked to stop:
// the write of a firmware image, since an ESC left with half an image may not
// start again. While a FinishFirst exists, the shut-down's deadline waits
// (stop_signals.h); SIGKILL still ends the program at once.

class FinishFirst {
public:
    FinishFirst();
    ~FinishFirst();
    FinishFirst(const FinishFirst&) = delete;
    FinishFirst& operator=(const FinishFirst&) = delete;

    // Whether any exists now; from any thread.
    static bool active();
    // Where a byte 0 goes whenever the last one ends (the shut-down's
    // deadline, which then starts afresh); -1: nowhere.
    static void wakeOnEnd(int socket);
};
