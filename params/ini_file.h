#pragma once
// INI files with the semantics of the classic profile functions: a missing
// file or key reads as the default, section and key names match without
// regard to case, and what the program does not know stays in the file.
// Numbers read as decimal, or hexadecimal after "$", "0x" or "0X"; anything
// else reads as the default. Writes change only the lines of the keys written
// (IniText). save() replaces the file atomically (new file, then rename), so a
// failed save leaves the old file as it was, and refuses to replace a file
// that exists but could not be read.

#include <QString>
#include <memory>

class IniFile {
public:
    explicit IniFile(const QString& path);  // loads the file if it can be read
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    QString path() const;
    QString readString(const QString& section, const QString& key, const QString& def) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    // Written as key=value lines without blanks around "=", no byte-order mark.
    bool save();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
