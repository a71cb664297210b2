#pragma once
// The text of an INI file as the lines it is made of, edited the way the
// classic profile functions edit a file: a write replaces the one line that
// holds the key, or adds a line at the end of its section (a missing section
// goes at the end of the file). Every other byte stays as it was: comments,
// blank lines, unknown sections and keys, lines that make no sense, line ends,
// a byte-order mark, bytes that are not UTF-8, NULs.
//
// Reading: a line, trimmed of blanks, is a comment when it begins with ";" or
// "#", a section line when it begins with "[" (the name runs to the first "]";
// without one the section has no name anybody can ask for), and a key line
// when it holds "="; anything else is ignored. Names match without regard to
// ASCII case; the first line that holds a key counts, whichever of the
// sections of the same name it is in. Keys above the first section belong to
// none.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <vector>

class IniText {
public:
    explicit IniText(const QByteArray& bytes = {});

    // The value of the key, trimmed of blanks; nothing when there is no such key.
    std::optional<QByteArray> value(QByteArrayView section, QByteArrayView key) const;
    // The index, from 0, of the line that holds the key.
    std::optional<size_t> lineOf(QByteArrayView section, QByteArrayView key) const { return find(section, key); }
    // Sets the key to the value, which must hold no line break. A line whose
    // value already reads as this one stays untouched.
    void setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value);

    QByteArray bytes() const;

private:
    struct Line {
        QByteArray text;  // without its line end
        QByteArray end;   // "\n", "\r\n", or empty for a last line without one
    };
    enum class Kind { Other, Section, UnnamedSection, Key };
    struct Parsed {
        Kind kind = Kind::Other;
        QByteArrayView name;   // section or key name, trimmed
        QByteArrayView value;  // trimmed
    };

    Parsed parse(size_t index) const;
    // Index of the key's line, if any.
    std::optional<size_t> find(QByteArrayView section, QByteArrayView key) const;
    // Where a new key of the section goes: after the last line of its first
    // occurrence that is neither blank nor a comment.
    std::optional<size_t> insertionPoint(QByteArrayView section) const;
    void insert(size_t at, QByteArray text);
    QByteArray lineEnd() const;

    std::vector<Line> lines_;
};
