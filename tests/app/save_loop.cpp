// Saves the settings file and a setup file in a folder over and over, with
// two sets of values in turn, until it is killed. It writes a line to stdout
// once the first round is saved; the kill test then ends it at a random
// moment and looks at what the files hold.

#include "settings/settings_file.h"
#include "params/setup_file_format.h"
#include "save_sets.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_loop FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QString settings = dir.filePath(QStringLiteral("zelt.ini"));
    const QString setup = dir.filePath(QStringLiteral("setup.zelt"));
    for (unsigned round = 0;; ++round) {
        const SaveSet& set = kSaveSets[round % 2];
        if (!write_settings(settings, set.settings) || !write_setup_file(setup, set.setup))
            return 1;
        if (round == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}
