#pragma once
// "Load setup" and "Save setup": six of the eight settings to and from a
// setup file. Neither talks to the ESC; the last two settings (current
// sensitivity and governor mode) are not part of a setup file, but a backup
// holds them too.

#include "link/outcome.h"
#include "params/parameter_set.h"
#include "params/setup_file_format.h"

#include <QString>

class Dialogs;

// What a setup file gives: the first count of the eight values, six from a
// setup file and eight from a backup; the others are -1.
struct SetupContents {
    SettingValues values{-1, -1, -1, -1, -1, -1, -1, -1};
    int count = kSetupKeyCount;
};

class SetupFiles {
public:
    explicit SetupFiles(Dialogs& dialogs);

    // A file that cannot be read gives fallback values without a word, so a
    // load is Done.
    Found<SetupContents> load(const QString& path);
    // The "Save file error" box when the file cannot be written.
    Outcome save(const QString& path, const SetupValues& values);
    // Why the last save failed, in the system's words; its box says only
    // "Save file error".
    const QString& save_error() const { return saveError_; }

    // The file last loaded (its absolute path) or saved (as named).
    const QString& file_name() const { return fileName_; }

private:
    Dialogs& dialogs_;
    QString fileName_;
    QString saveError_;
};
