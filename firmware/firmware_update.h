#pragma once
// "Update firmware": writes the firmware image of the connected ESC's group to
// the ESC in blocks paced by its replies, has the ESC read it back, compares,
// and on success makes the tool identify the ESC afresh so that the new
// version shows.
//
// The image file is checked whole before anything is sent: an ESC left with
// half an image may not start again.

#include <QString>

class Dialogs;
class EscView;
class Link;
struct SharedState;

class FirmwareUpdate {
public:
    // programDir: the folder that holds the image files.
    FirmwareUpdate(Link& link, SharedState& st, EscView& view, Dialogs& dialogs, QString programDir);

    void Button2Click();
    void updata_board();

    // Writes this image file instead of the one of the ESC's group (the
    // command line's --image); empty: the group's image. The checks and the
    // questions stay the same.
    void set_image_path(const QString& path) { imagePath_ = path; }

    // How the last update ended. Some ends show no box (no image for the
    // model, an ESC that never finished), so a caller without a window
    // learns the outcome here.
    enum class Result { NotRun, Updated, Refused, Declined, NoImage, FileError, LinkError, NotFinished, VerifyFailed };
    Result result() const { return result_; }

private:
    // The image to write and the version code that announces it.
    struct Image {
        QString text;
        QString versionCode;
    };

    // Reads the header, asks the user, reads and checks the data lines.
    // Returns false when the update must not go on (the reason is shown).
    bool prepare(Image& image);
    // Returns true when the ESC reported that it has finished writing.
    bool write_phase(const Image& image);
    // Returns true when the ESC's read-back equals the image.
    bool verify_phase(const Image& image);
    void succeed(const Image& image);

    QString next_block(const QString& image, int& readPos) const;
    void file_error(const QString& text);
    void set_progress(int value);
    void set_progress_maximum(int maximum);

    Link& link_;
    SharedState& st_;
    EscView& view_;
    Dialogs& dialogs_;
    QString programDir_;
    QString imagePath_;
    int progressMaximum_ = 100;
    Result result_ = Result::NotRun;
};
