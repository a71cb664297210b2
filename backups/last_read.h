#pragma once
// The window's last successful read of an ESC's settings. Before the window
// overwrites that ESC (a download, a restore, a firmware update), what it
// read is saved as a backup; an ESC the window never read, or another one
// since (another port or model), gets no backup and nobody is told.

#include "params/parameter_set.h"

#include <QString>
#include <optional>

namespace backups {

class LastRead {
public:
    void remember(const QString& port, const QString& model, const SettingValues& values);
    // The backup's path; none when nothing was saved (no matching read, or a
    // failure, which has warned).
    std::optional<QString> back_up_before_overwrite(const QString& port, const QString& model) const;

private:
    struct Read {
        QString port;
        QString model;
        SettingValues values;
    };
    std::optional<Read> read_;
};

}  // namespace backups
