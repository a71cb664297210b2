#pragma once
// INI files with the semantics of the classic profile functions: a missing
// file or key reads as the default, section and key names match without
// regard to case, and what the program does not know stays in the file.
// Numbers read as decimal, or hexadecimal after "$", "0x" or "0X"; anything
// else reads as the default. Writes change only the lines of the keys written
// (IniText). save() replaces the file atomically (new file, then rename), so a
// failed save leaves the old file as it was.
//
// Only a regular file of at most kMaxBytes is read; anything else under the
// name (a device, a FIFO, a folder) reads as a file that cannot be read, and
// save() refuses to replace what it could not read. A replaced file keeps its
// permissions, its owner and its group; when the group or the owner cannot
// be kept, save() refuses rather than change who may read the file.

#include <QString>
#include <memory>
#include <optional>

class IniFile {
public:
    static constexpr qint64 kMaxBytes = 64 * 1024;

    explicit IniFile(const QString& path);  // loads the file if it can be read
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    QString path() const;
    QString readString(const QString& section, const QString& key, const QString& def) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    // The key's value as a number; nothing when it is missing or not a number.
    std::optional<int> readNumber(const QString& section, const QString& key) const;
    // The line that holds the key, from 1; 0 when there is none.
    int lineOf(const QString& section, const QString& key) const;

    // Why the file was not read: the system's reason ("No such file or
    // directory" too, though a missing file reads as empty and may be saved),
    // or why it is refused. Empty when it was read.
    QString readError() const;
    // Why save() would fail before it writes anything: the file could not be
    // read, is no regular file, may not be written, has an owner or a group
    // that a new file cannot keep, or its folder cannot take a new file.
    // Empty when nothing stands in the way.
    QString saveProblem() const;
    // Written as key=value lines without blanks around "=", no byte-order
    // mark. On failure saveError() says why.
    bool save();
    QString saveError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
