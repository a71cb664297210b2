#include "params/ini_text.h"

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView trimmed(QByteArrayView s)
{
    while (!s.isEmpty() && is_blank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && is_blank(s.back()))
        s.chop(1);
    return s;
}

char ascii_lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool same_name(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    return true;
}

bool is_blank_or_comment(QByteArrayView text)
{
    const QByteArrayView t = trimmed(text);
    return t.isEmpty() || t.front() == ';' || t.front() == '#';
}

}  // namespace

IniText::IniText(const QByteArray& bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype feed = bytes.indexOf('\n', start);
        if (feed < 0) {
            lines_.push_back({bytes.sliced(start), QByteArray()});
            break;
        }
        const bool crlf = feed > start && bytes[feed - 1] == '\r';
        const qsizetype textEnd = crlf ? feed - 1 : feed;
        lines_.push_back({bytes.sliced(start, textEnd - start), crlf ? QByteArray("\r\n") : QByteArray("\n")});
        start = feed + 1;
    }
}

IniText::Parsed IniText::parse(size_t index) const
{
    QByteArrayView text = lines_[index].text;
    if (index == 0 && text.startsWith(kByteOrderMark))
        text = text.sliced(kByteOrderMark.size());
    const QByteArrayView t = trimmed(text);
    Parsed p;
    if (t.isEmpty() || t.front() == ';' || t.front() == '#')
        return p;
    if (t.front() == '[') {
        const qsizetype close = t.indexOf(']');
        if (close < 0) {
            p.kind = Kind::UnnamedSection;
            return p;
        }
        p.kind = Kind::Section;
        p.name = trimmed(t.sliced(1, close - 1));
        return p;
    }
    const qsizetype equals = t.indexOf('=');
    if (equals <= 0)
        return p;
    p.name = trimmed(t.first(equals));
    if (p.name.isEmpty())
        return p;
    p.kind = Kind::Key;
    p.value = trimmed(t.sliced(equals + 1));
    return p;
}

std::optional<size_t> IniText::find(QByteArrayView section, QByteArrayView key) const
{
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Parsed p = parse(i);
        if (p.kind == Kind::Section || p.kind == Kind::UnnamedSection)
            inSection = p.kind == Kind::Section && same_name(p.name, section);
        else if (inSection && p.kind == Kind::Key && same_name(p.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> IniText::insertionPoint(QByteArrayView section) const
{
    size_t i = 0;
    while (i < lines_.size()) {
        const Parsed p = parse(i);
        if (p.kind == Kind::Section && same_name(p.name, section))
            break;
        ++i;
    }
    if (i == lines_.size())
        return std::nullopt;
    size_t last = i;
    for (size_t j = i + 1; j < lines_.size(); ++j) {
        const Kind kind = parse(j).kind;
        if (kind == Kind::Section || kind == Kind::UnnamedSection)
            break;
        if (!is_blank_or_comment(lines_[j].text))
            last = j;
    }
    return last + 1;
}

std::optional<QByteArray> IniText::value(QByteArrayView section, QByteArrayView key) const
{
    const std::optional<size_t> i = find(section, key);
    if (!i)
        return std::nullopt;
    return parse(*i).value.toByteArray();
}

void IniText::setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    // A line break inside a value would split it into lines of its own.
    QByteArray oneLine = value.toByteArray();
    oneLine.replace('\r', ' ').replace('\n', ' ');

    if (const std::optional<size_t> i = find(section, key)) {
        const Parsed p = parse(*i);
        if (p.value == oneLine)
            return;
        // The indentation and the spelling of the name stay.
        QByteArray& text = lines_[*i].text;
        const qsizetype nameEnd = p.name.data() + p.name.size() - text.constData();
        text = text.first(nameEnd) + '=' + oneLine;
        return;
    }
    const QByteArray line = key.toByteArray() + '=' + oneLine;
    if (const std::optional<size_t> at = insertionPoint(section)) {
        insert(*at, line);
        return;
    }
    // A new section, set off from what comes before by a blank line.
    if (!lines_.empty() && !trimmed(lines_.back().text).isEmpty())
        insert(lines_.size(), QByteArray());
    insert(lines_.size(), '[' + section.toByteArray() + ']');
    insert(lines_.size(), line);
}

void IniText::insert(size_t at, QByteArray text)
{
    const QByteArray end = lineEnd();
    if (at > 0 && lines_[at - 1].end.isEmpty())
        lines_[at - 1].end = end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), end});
}

QByteArray IniText::lineEnd() const
{
    for (const Line& line : lines_)
        if (!line.end.isEmpty())
            return line.end;
    return QByteArrayLiteral("\n");
}

QByteArray IniText::bytes() const
{
    QByteArray out;
    for (const Line& line : lines_)
        out += line.text + line.end;
    return out;
}
