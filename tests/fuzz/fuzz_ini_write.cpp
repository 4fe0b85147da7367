// The ini writer on any file with any writes. The input is the file, then
// (after the bytes 00 01) the writes, separated by 00, each
// "section<1F>key<1F>value" (a missing part is empty). Without 00 01 the
// file gets the writes of a settings save: dc1, dd1, GBView in [Form1].
//
// Properties:
// - a batch of writes leaves byte for byte what the same writes one by one
//   leave;
// - every written value reads back (the last one written under that name),
//   when no write or line of the file changes a line's kind;
// - no other line changes: every line of the file that is no line of a
//   written key is still there, in order, and every new line is a written
//   key's line or a written section's header.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <string>

#include "FuzzSupport.h"
#include "platform/IniFiles.h"

using namespace kestrix::fuzz;

namespace {

QList<TIniEntry> EntriesOf(const QByteArray& text)
{
    QList<TIniEntry> entries;
    for (const QByteArray& e : text.split('\0')) {
        if (entries.size() == 64)
            break;
        const QList<QByteArray> parts = e.split('\x1f');
        entries.append({QString::fromUtf8(parts.value(0)), QString::fromUtf8(parts.value(1)),
                        QString::fromUtf8(parts.value(2))});
    }
    return entries;
}

// The value as a read gives it back: line breaks were written as blanks;
// blanks at both ends and one pair of matching quotes go; 2047 characters
// at most, never half a surrogate pair.
QString ReadBack(QString v)
{
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    const auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
    };
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && blank(v.at(b)))
        ++b;
    while (e > b && blank(v.at(e - 1)))
        --e;
    v = v.mid(b, e - b);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() > 2047)
        v.truncate(v.at(2046).isHighSurrogate() ? 2046 : 2047);
    return v;
}

// A name as the writer writes it: line breaks as blanks, trimmed.
QString Written(const QString& name)
{
    QString n = name;
    return n.replace(u'\r', u' ').replace(u'\n', u' ').trimmed();
}

// Whether a key's line reads back as a line of that key: it would not for a
// key that a reader takes for a header or a comment, or that holds "=".
bool PlainKey(const QString& key)
{
    const QString k = Written(key);
    return !k.startsWith(u'[') && !k.startsWith(u';') && !k.contains(u'=') && k == key.trimmed();
}

bool PlainSection(const QString& section)
{
    const QString s = Written(section);
    return !s.contains(u']') && s == section.trimmed();
}

// Whether a line of the file starts, after blanks and tabs, with a blank a
// reader trims from a key name: such a line may turn into a header or a
// comment when its key is written.
bool HasDisguisedLine(const QByteArray& data)
{
    for (const QByteArray& line : Lines(data)) {
        qsizetype i = 0;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i < line.size() && (line[i] == '\r' || line[i] == '\v' || line[i] == '\f'))
            return true;
    }
    return false;
}

bool SameName(const QString& a, const QString& b)
{
    return Written(a).compare(Written(b), Qt::CaseInsensitive) == 0;
}

// Names whose sameness depends on who asks: an ASCII name matches without
// regard to ASCII case only, so "k" does not find the Kelvin sign that a
// non-ASCII name "\u212A" matches by case folding.
bool Ambiguous(const QString& a, const QString& b)
{
    const auto ascii = [](const QString& n) {
        for (QChar c : n)
            if (c.unicode() >= 0x80)
                return false;
        return true;
    };
    return SameName(a, b) && ascii(Written(a)) != ascii(Written(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const qsizetype split = input.indexOf(QByteArray("\0\1", 2));
    const QByteArray data = split < 0 ? input : input.left(split);
    const QList<TIniEntry> entries =
        split < 0 ? QList<TIniEntry>{{"Form1", "dc1", "1"}, {"Form1", "dd1", "0"}, {"Form1", "GBView", "1"}}
                  : EntriesOf(input.mid(split + 2));

    const QString batchPath = ScratchFolder() + "/batch.ini";
    const QString singlePath = ScratchFolder() + "/single.ini";
    PutFile(batchPath, data);
    PutFile(singlePath, data);
    TIniFile batch(batchPath);
    TIniFile single(singlePath);
    try {
        batch.WriteStrings(entries);
        for (const TIniEntry& e : entries)
            single.WriteString(e.Section, e.Key, e.Value);
    } catch (const EIniFileException& e) {
        Fail(std::string("a write to a writable file was refused: ") + e.what());
    }
    const QByteArray written = GetFile(batchPath);
    const QByteArray one = GetFile(singlePath);
    Check(written == one, "a batch leaves what single writes leave:\n  batch  " + Printable(written) + "\n  single "
                              + Printable(one));

    // Read-back, where the file keeps its structure.
    bool plain = !HasDisguisedLine(data);
    for (const TIniEntry& e : entries)
        plain = plain && PlainKey(e.Key) && PlainSection(e.Section);
    for (qsizetype i = 0; plain && i < entries.size(); ++i) {
        const TIniEntry& e = entries[i];
        bool clear = true;
        QString expected = e.Value;
        for (qsizetype j = 0; j < entries.size(); ++j) {
            const TIniEntry& o = entries[j];
            if (Ambiguous(e.Section, o.Section) || Ambiguous(e.Key, o.Key))
                clear = false;
            else if (j > i && SameName(e.Section, o.Section) && SameName(e.Key, o.Key))
                expected = o.Value;
        }
        if (!clear)
            continue;
        const QString got = batch.ReadString(e.Section, e.Key, QStringLiteral("\x01missing"));
        Check(got == ReadBack(expected), "[" + e.Section.toStdString() + "] " + e.Key.toStdString()
                                             + " reads back " + Printable(ReadBack(expected).toUtf8()) + ", not "
                                             + Printable(got.toUtf8()));
    }

    // Every other line stays. A line may change when it is a key line of a
    // written key (its name is the text before the first "=", trimmed).
    const auto ofWrittenKey = [&](const QByteArray& line) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            return false;
        const QString name = QString::fromUtf8(line.left(eq).trimmed());
        for (const TIniEntry& e : entries)
            if (name.compare(Written(e.Key), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    // A new line is a written section's header or a written key's line.
    const auto isNew = [&](const QByteArray& line) {
        QByteArray l = line;
        if (l.endsWith('\r'))
            l.chop(1);
        for (const TIniEntry& e : entries)
            if (l == "[" + Written(e.Section).toUtf8() + "]" || l.startsWith(Written(e.Key).toUtf8() + "="))
                return true;
        return ofWrittenKey(l);
    };
    std::string why;
    Check(KeepsLines(data, written, ofWrittenKey, isNew, why), "no other line changes: " + why);
    return 0;
}
