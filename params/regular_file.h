#pragma once
// Files the program reads or replaces are regular files of a size such a file
// can have. Anything else under a file's name is refused before it is opened
// for good: a FIFO makes the open or the read wait for a writer that may
// never come, a device may never end (or drops a serial line's DTR when it is
// closed), and a file that goes on and on would be read into memory whole.

#include <QByteArray>
#include <QString>
#include <optional>

// The reason a file of this kind cannot be used ("Is a FIFO, not a file"), or
// nothing for a regular file; mode is a stat() st_mode.
std::optional<QString> not_a_regular_file(unsigned mode);

// Opens a regular file of at most maxBytes to read. The descriptor, or -1
// with the reason in *error (the system's words, "No such file or directory"
// for one that does not exist, with *missing set when it is given).
int open_regular_file(const QString& path, qint64 maxBytes, QString* error, bool* missing = nullptr);

// The whole of such a file; nothing on failure, as open_regular_file says.
std::optional<QByteArray> read_regular_file(const QString& path, qint64 maxBytes, QString* error,
                                            bool* missing = nullptr);

// "Is larger than 64 KiB"
QString larger_than(qint64 maxBytes);
