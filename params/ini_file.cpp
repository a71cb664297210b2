#include "params/ini_file.h"

// The char-only flavour of the library, compiled from its header: names
// compare case-insensitively in ASCII, text is kept as UTF-8 bytes.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>
#include <optional>
#include <string>

namespace {

std::optional<int> parse_profile_integer(const QString& text)
{
    QStringView s(text);
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.startsWith(u'$')) {
        base = 16;
        s = s.mid(1);
    } else if (s.startsWith(u"0x") || s.startsWith(u"0X")) {
        base = 16;
        s = s.mid(2);
    }
    if (s.isEmpty())
        return std::nullopt;
    // Digits only: toLongLong would also accept blanks and a second sign.
    for (QChar c : s) {
        const char16_t u = c.unicode();
        const bool digit =
            (u >= '0' && u <= '9') || (base == 16 && ((u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')));
        if (!digit)
            return std::nullopt;
    }
    bool ok = false;
    const long long magnitude = s.toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// The library separates sections by two blank lines; the file keeps one.
std::string with_single_blank_lines(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n' && out.size() >= 2 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n')
            continue;
        out += c;
    }
    return out;
}

}  // namespace

struct IniFile::Impl {
    QString path;
    CSimpleIniA ini{/*isUtf8=*/true, /*multiKey=*/false, /*multiLine=*/false};
};

IniFile::IniFile(const QString& path) : d(std::make_unique<Impl>())
{
    d->path = path;
    d->ini.SetSpaces(false);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        d->ini.LoadData(data.constData(), static_cast<size_t>(data.size()));
    }
}

IniFile::~IniFile() = default;

QString IniFile::path() const
{
    return d->path;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const char* value = d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    return value ? QString::fromUtf8(value) : def;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    return parse_profile_integer(readString(section, key, QString())).value_or(def);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    // A line break inside a value would split it into lines of its own.
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    d->ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(), oneLine.toUtf8().constData());
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

bool IniFile::save()
{
    std::string text;
    if (d->ini.Save(text, /*addSignature=*/false) < 0)
        return false;
    text = with_single_blank_lines(text);

    // A file that may not be written stays as it is, even though the folder
    // would let it be replaced. Opening it to append changes nothing in it.
    if (QFileInfo::exists(d->path)) {
        QFile existing(d->path);
        if (!existing.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
    }
    QSaveFile file(d->path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The write is buffered: only flush() shows a full disk, and commit()
    // would still rename a short file into place.
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
