// The INI layer on any bytes: the keys written read back, every line that is
// not one of them stays byte for byte, and a second save changes nothing.

#include "params/ini_text.h"

#include <QByteArray>
#include <QList>
#include <cstdlib>

namespace {

struct Key {
    const char* section;
    const char* name;
    QByteArray value;
};

struct Line {
    QByteArray text;
    QByteArray end;
};

QList<Line> lines_of(const QByteArray& bytes)
{
    QList<Line> out;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype feed = bytes.indexOf('\n', start);
        if (feed < 0) {
            out.append({bytes.sliced(start), {}});
            break;
        }
        const bool crlf = feed > start && bytes[feed - 1] == '\r';
        out.append({bytes.sliced(start, feed - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
        start = feed + 1;
    }
    return out;
}

// A line the save may write: one of our keys with its new value.
bool is_written_key(const QByteArray& text, const QList<Key>& keys)
{
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return false;
    const QByteArray name = text.first(equals).trimmed();
    for (const Key& k : keys)
        if (name.compare(k.name, Qt::CaseInsensitive) == 0 && text.sliced(equals + 1) == k.value)
            return true;
    return false;
}

bool same_key_name(const QByteArray& a, const QByteArray& b)
{
    const qsizetype ea = a.indexOf('='), eb = b.indexOf('=');
    return ea > 0 && eb > 0 && a.first(ea).trimmed().compare(b.first(eb).trimmed(), Qt::CaseInsensitive) == 0;
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray seed = QByteArray::number(size % 7);
    const QList<Key> keys = {
        {"COMSET", "COM", "/dev/ttyUSB" + seed}, {"INC", "low_volt_mode", seed},
        {"INC", "other1", "-1"}, {"Inc", "OTHER2", "0x" + seed},
    };

    IniText text(input);
    for (const Key& k : keys)
        text.setValue(k.section, k.name, k.value);
    const QByteArray saved = text.bytes();

    IniText again(saved);
    for (const Key& k : keys)
        check(again.value(k.section, k.name) == k.value);
    for (const Key& k : keys)
        again.setValue(k.section, k.name, k.value);
    check(again.bytes() == saved);

    // Walk both files: every input line is in the output in its order, the
    // same bytes, unless it is one of our keys given its new value. The output
    // may add our keys, blank lines and our section lines; only the input's
    // last line may gain a line end.
    const QList<Line> in = lines_of(input), out = lines_of(saved);
    qsizetype i = 0;
    for (const Line& o : out) {
        if (i < in.size()) {
            const Line& l = in[i];
            // A last line without an end may gain one; a carriage return it
            // ended with then reads as part of that end.
            const QByteArray whole = o.text + o.end;
            const bool gainedEnd = i == in.size() - 1 && l.end.isEmpty() &&
                                   (whole == l.text + "\n" || whole == l.text + "\r\n");
            const bool endKept = o.end == l.end || (i == in.size() - 1 && l.end.isEmpty());
            if (whole == l.text + l.end || gainedEnd) {
                ++i;
                continue;
            }
            if (is_written_key(o.text, keys) && same_key_name(o.text, l.text) && endKept) {
                ++i;
                continue;
            }
        }
        const bool added = is_written_key(o.text, keys) || o.text.isEmpty() || o.text == "[COMSET]" ||
                           o.text == "[INC]";
        check(added);
    }
    check(i == in.size());
    return 0;
}
