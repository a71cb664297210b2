#pragma once
// How an operation the user asked for ended, with the text of the box that
// told the user so. A caller without a window (the command line, the
// port-loss follower) decides by this, not by the boxes it happened to see.

#include <QString>

struct Outcome {
    enum class Kind {
        Done,         // it did what was asked
        Refused,      // nothing was sent: no ESC, no selection, the user said no, a dialog cancelled
        NoAnswer,     // the card or the ESC did not answer, or not in time, or garbled
        Rejected,     // the ESC answered no (or read back something else than was written)
        FileProblem,  // a file could not be found, read or written
    };
    Kind kind = Kind::Done;
    QString box;  // the text of the box that reported the end; empty when none was shown

    bool done() const { return kind == Kind::Done; }
    // A failure the user has been told about: nobody needs to say it again.
    bool failure_shown() const { return !done() && !box.isEmpty(); }

    static Outcome ok(QString box = {}) { return {Kind::Done, std::move(box)}; }
    static Outcome fail(Kind kind, QString box = {}) { return {kind, std::move(box)}; }
};

// An operation's outcome with what it found: value holds the result when the
// outcome is Done, and is left as it was made otherwise.
template <class T>
struct Found {
    Outcome outcome;
    T value{};

    bool done() const { return outcome.done(); }
};
