#pragma once
// "Update firmware": writes the firmware image of the connected ESC's group to
// the ESC in blocks paced by its replies, has the ESC read it back, compares,
// and on success makes the tool identify the ESC afresh so that the new
// version shows.
//
// The image file is checked whole before anything is sent: an ESC left with
// half an image may not start again.

#include "link/outcome.h"

#include <QString>

#include <functional>

class Dialogs;
class Link;
struct SharedState;

class FirmwareUpdate {
public:
    // programDir: the folder that holds the image files.
    FirmwareUpdate(Link& link, SharedState& st, Dialogs& dialogs, QString programDir);

    // How far the transfer has come: value words of maximum, each time it moves.
    using Progress = std::function<void(int value, int maximum)>;
    // Whether the caller has been asked to stop. The write always runs to its
    // end; the read-back after it only checks, and ends when this says so.
    using StopAsked = std::function<bool()>;

    // Writes the image file at imagePath, or with an empty path the image of
    // the ESC's group from the program's image folders; the checks and the
    // questions are the same for both. Needs an identified ESC; the outcome
    // says how it ended, result() in more detail.
    Outcome update(const QString& imagePath, const Progress& progress = {}, const StopAsked& stopAsked = {});

    // How the last update ended. Some ends show no box (no image for the
    // model, an ESC that never finished), so a caller without a window
    // learns the outcome here.
    // NotVerified: the image was written, and a stop request ended the
    // read-back that checks it.
    enum class Result {
        NotRun,
        Updated,
        Refused,
        Declined,
        NoImage,
        FileError,
        LinkError,
        NotFinished,
        NotVerified,
        VerifyFailed
    };
    Result result() const { return result_; }

private:
    Outcome run_update(const QString& imagePath);
    Outcome end(Result result, const QString& box = {});
    // The image to write and the version code that announces it.
    struct Image {
        QString text;      // as the ESC reads it back: upper-case hex text
        QByteArray bytes;  // as it is written
        QString versionCode;  // two hex digits: the version, one byte on the line
    };

    // Reads the header, asks the user, reads and checks the data lines.
    // Returns false when the update must not go on (the reason is shown).
    Outcome prepare(const QString& imagePath, Image& image);
    // Done when the ESC reported that it has finished writing.
    Outcome write_phase(const Image& image);
    // Whether the ESC's read-back equals the image; one that has not all
    // come within three times its time on the line differs.
    enum class Check { Equal, Differs, Stopped };
    Check verify_phase(const Image& image);
    Outcome succeed(const Image& image);

    static QByteArray next_block(const QByteArray& image, qsizetype& offset);
    Outcome file_error(const QString& text);
    void set_progress(int value);
    bool stop_asked() const;
    void set_progress_maximum(int maximum);

    Link& link_;
    SharedState& st_;
    Dialogs& dialogs_;
    QString programDir_;
    Progress progress_;
    StopAsked stopAsked_;
    int progressMaximum_ = 100;
    Result result_ = Result::NotRun;
};
