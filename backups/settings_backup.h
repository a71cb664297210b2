#pragma once
// Settings backups: what an ESC held, saved before a write, a restore or a
// firmware update overwrites it. A backup is a setup file that also holds
// other1 and other2, so that the window loads it as any setup file and the
// command line's write puts all eight settings back. It holds the bytes as the
// ESC gave them, those that are none of a list's items included. The newest kKept are
// kept; the name carries the local date and time to the millisecond and the
// ESC's model, so that names sort by age.

#include "params/parameter_set.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace backups {

inline constexpr int kKept = 100;

// $XDG_STATE_HOME/zelt/backups; ~/.local/state/zelt/backups when that is unset
// or not an absolute path.
QString folder();

// Saves the eight values of an ESC of this model, then drops the oldest
// beyond kKept. The file's path, or none with the reason in *error.
std::optional<QString> save(const SettingValues& values, const QString& model, QString* error,
                            const QDateTime& when = QDateTime::currentDateTime());

// The backups' paths, newest first.
QStringList list();

// A backup that failed does not stop what it was for: the reason goes to
// standard error and to the link trace, and the command goes on.
void warn_not_saved(const QString& reason);

}  // namespace backups
