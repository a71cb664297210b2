#pragma once
// Settings backups: what an ESC held, saved before a write, a restore or a
// firmware update overwrites it. A backup is a setup file that also holds
// other1 and other2, so that the window loads it as any setup file and the
// command line's write puts all eight settings back. It holds the bytes as the
// ESC gave them, those that are none of a list's items included. The newest
// kKept are kept. A name carries a sequence number, the date and time in UTC
// to the millisecond and the ESC's model
// ("000042_2026-12-08_20-52-07.123Z_ESC_T03.zelt"); the number gives the
// order, so that a clock or time-zone step back cannot make the newest look
// the oldest. Backups named by their local time alone, as older versions
// named them, are still listed (as older than any numbered one) and can be
// written back.

#include "params/parameter_set.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace backups {

inline constexpr int kKept = 100;

// $XDG_STATE_HOME/zelt/backups; $HOME/.local/state/zelt/backups when that is
// unset or not an absolute path. Empty, with the reason in *whyNone, when HOME
// is no absolute path either, or is "/" (as for a service without a home):
// backups are never put at the root of the file system.
QString folder(QString* whyNone = nullptr);

// Saves the eight values of an ESC of this model in a file of its own (made
// with O_EXCL, so that two saves at once never share one), then drops the
// oldest beyond kKept, never the one just made. The file's path, or none
// with the reason in *error.
std::optional<QString> save(const SettingValues& values, const QString& model, QString* error,
                            const QDateTime& when = QDateTime::currentDateTimeUtc());

// The backups' paths, newest first.
QStringList list();

// A backup that failed does not stop what it was for: the reason goes to
// standard error and to the link trace, and the command goes on.
void warn_not_saved(const QString& reason);

}  // namespace backups
