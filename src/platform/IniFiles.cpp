#include "IniFiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Values are read up to this many characters, as into a 2048-byte buffer.
constexpr qsizetype kMaxValueLength = 2047;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A byte range [begin, end) of the file.
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype size() const { return end - begin; }
};

Span Trim(const char* p, qsizetype begin, qsizetype end)
{
    while (begin < end && IsBlank(p[begin]))
        ++begin;
    while (end > begin && IsBlank(p[end - 1]))
        --end;
    return {begin, end};
}

// A section or key name as looked for: trimmed, in UTF-8 for the common
// all-ASCII case, which compares bytes without decoding anything.
class Name {
public:
    explicit Name(const QString& name)
        : text_(name.trimmed())
        , utf8_(text_.toUtf8())
    {
        ascii_ = true;
        for (char c : utf8_)
            if (static_cast<unsigned char>(c) >= 0x80)
                ascii_ = false;
    }

    const QByteArray& Utf8() const { return utf8_; }

    bool Matches(const char* p, Span s) const
    {
        if (ascii_) {
            if (s.size() != utf8_.size())
                return false;
            for (qsizetype i = 0; i < s.size(); ++i) {
                char a = p[s.begin + i];
                char b = utf8_[i];
                if (a >= 'A' && a <= 'Z')
                    a = char(a - 'A' + 'a');
                if (b >= 'A' && b <= 'Z')
                    b = char(b - 'A' + 'a');
                if (a != b)
                    return false;
            }
            return true;
        }
        // No valid UTF-8 text of n UTF-16 units takes more than 3n bytes;
        // the guard keeps huge lines from being decoded at all.
        if (s.size() > 4 * text_.size() + 4)
            return false;
        return QString::fromUtf8(p + s.begin, s.size()).compare(text_, Qt::CaseInsensitive) == 0;
    }

private:
    QString text_;
    QByteArray utf8_;
    bool ascii_ = true;
};

// What one pass over the file found for a section and (optionally) a key.
struct Lookup {
    bool sectionFound = false;
    bool keyFound = false;
    Span keyLine;  // the text of the first matching key line, without line end
    Span keyName;  // its key, trimmed
    Span keyValue; // its value, trimmed
    // Where a missing key goes: after the last key line of the first
    // matching section (or after its header), and whether the line there
    // lacks a line end (the last line of a file without final newline).
    qsizetype insertAt = 0;
    bool insertNeedsLineEnd = false;
};

// One pass over the lines. Keys before any section, comment lines (";") and
// lines without "=" belong to no lookup. Sections of the same name count as
// one, in file order; a missing key is added to the first of them.
Lookup Find(const QByteArray& data, const Name& section, const Name* key)
{
    Lookup found;
    const char* p = data.constData();
    const qsizetype n = data.size();
    bool inSection = false;
    bool firstSectionOpen = false; // inside the first matching section
    qsizetype pos = 0;
    while (pos < n) {
        const void* nl = std::memchr(p + pos, '\n', std::size_t(n - pos));
        const qsizetype end = nl ? static_cast<const char*>(nl) - p : n;
        const qsizetype next = nl ? end + 1 : n;
        qsizetype s = pos;
        while (s < end && (p[s] == ' ' || p[s] == '\t'))
            ++s;
        if (s < end && p[s] == '[') {
            const void* close = std::memchr(p + s + 1, ']', std::size_t(end - s - 1));
            const qsizetype nameEnd = close ? static_cast<const char*>(close) - p : end;
            inSection = section.Matches(p, Trim(p, s + 1, nameEnd));
            firstSectionOpen = inSection && !found.sectionFound;
            if (firstSectionOpen) {
                found.sectionFound = true;
                found.insertAt = next;
                found.insertNeedsLineEnd = !nl;
            }
            if (inSection && !key)
                return found;
        } else if (inSection && key && s < end && p[s] != ';') {
            const void* eq = std::memchr(p + s, '=', std::size_t(end - s));
            if (eq) {
                const qsizetype eqPos = static_cast<const char*>(eq) - p;
                const Span name = Trim(p, s, eqPos);
                if (key->Matches(p, name)) {
                    found.keyFound = true;
                    // The line's text ends before a CR of its line end.
                    found.keyLine = {pos, end > pos && p[end - 1] == '\r' ? end - 1 : end};
                    found.keyName = name;
                    found.keyValue = Trim(p, eqPos + 1, end);
                    return found;
                }
                if (firstSectionOpen) {
                    found.insertAt = next;
                    found.insertNeedsLineEnd = !nl;
                }
            }
        }
        pos = next;
    }
    return found;
}

enum class ReadResult { Ok, Missing, Failed };

// Reads a whole regular file. Missing: no such file; Failed: it exists but
// cannot be read or is no regular file (a folder, a device, a pipe).
ReadResult ReadAll(const QByteArray& path, QByteArray& data, struct stat& st)
{
    // O_NONBLOCK: a pipe in the file's place must not hang the program.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    ReadResult result = ReadResult::Ok;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = ReadResult::Failed;
    } else {
        data.clear();
        data.reserve(qsizetype(st.st_size));
        char buf[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buf, sizeof buf);
            if (got > 0) {
                data.append(buf, qsizetype(got));
            } else if (got == 0) {
                break;
            } else if (errno != EINTR) {
                result = ReadResult::Failed;
                break;
            }
        }
    }
    ::close(fd);
    return result;
}

// The value's text as Windows hands it out: one pair of matching quotes
// removed, cut to 2047 characters (never inside a surrogate pair).
QString ValueText(const char* p, Span v)
{
    if (v.size() >= 2 && (p[v.begin] == '"' || p[v.begin] == '\'') && p[v.end - 1] == p[v.begin]) {
        ++v.begin;
        --v.end;
    }
    // Decoding more than 3 bytes per character cannot add characters we keep.
    const qsizetype bytes = std::min(v.size(), 3 * kMaxValueLength + 3);
    QString text = QString::fromUtf8(p + v.begin, bytes);
    if (text.size() > kMaxValueLength) {
        qsizetype keep = kMaxValueLength;
        if (text.at(keep - 1).isHighSurrogate())
            --keep;
        text.truncate(keep);
    }
    return text;
}

// Line breaks in a name or value would break the file's structure.
QString OneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool WriteAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t put = ::write(fd, p, std::size_t(left));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += put;
        left -= put;
    }
    return true;
}

// Replaces the file by the new text: a temporary file in the same folder,
// synced, then renamed over the original. The original's permissions (and,
// where we may, its owner) carry over. The folder itself is not synced: after
// a crash the old or the new file is there, each complete.
bool ReplaceFile(const QByteArray& path, const QByteArray& text, const struct stat* original)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const QByteArray base = slash < 0 ? path : path.mid(slash + 1);
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder + "/." + base + ".tmp-" + QByteArray::number(::getpid()) + '-'
               + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, text);
    if (ok && original) {
        if ((original->st_uid != ::geteuid() || original->st_gid != ::getegid())
            && ::fchown(fd, original->st_uid, original->st_gid) != 0) {
            // Not ours to give away: the file becomes ours, as any rewrite would.
        }
        ok = ::fchmod(fd, original->st_mode & 07777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), path.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

// The file a write goes to: the target of a symbolic link rather than the
// link itself, so that the link survives the rename.
QByteArray WriteTarget(const QString& fileName)
{
    QByteArray path = QFile::encodeName(fileName);
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.constData(), nullptr)) {
            path = real;
            std::free(real);
        }
    }
    return path;
}

} // namespace

TIniFile::TIniFile(const QString& fileName)
    : fileName_(fileName)
{
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    QByteArray data;
    struct stat st;
    if (ReadAll(QFile::encodeName(fileName_), data, st) != ReadResult::Ok)
        return defaultValue;
    const Name keyName(key);
    const Lookup found = Find(data, Name(section), &keyName);
    return found.keyFound ? ValueText(data.constData(), found.keyValue) : defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    int value = 0;
    return TryStrToInt(ReadString(section, key, QString()), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& section) const
{
    QByteArray data;
    struct stat st;
    return ReadAll(QFile::encodeName(fileName_), data, st) == ReadResult::Ok
           && Find(data, Name(section), nullptr).sectionFound;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    QByteArray data;
    struct stat st;
    if (ReadAll(QFile::encodeName(fileName_), data, st) != ReadResult::Ok)
        return false;
    const Name keyName(key);
    return Find(data, Name(section), &keyName).keyFound;
}

namespace {

// The file's text after one write of a key: the key's line replaced, or a new
// line at the end of its section, or a new section at the end of the file.
QByteArray WithValue(const QByteArray& data, const QString& section, const QString& key, const QString& value)
{
    const qsizetype firstLineEnd = data.indexOf('\n');
    const QByteArray eol = firstLineEnd > 0 && data.at(firstLineEnd - 1) == '\r' ? "\r\n" : "\n";
    const Name sectionName(OneLine(section));
    const Name keyName(OneLine(key));
    const QByteArray newValue = OneLine(value).toUtf8();
    const Lookup found = Find(data, sectionName, &keyName);
    QByteArray text;
    if (found.keyFound) {
        // The key keeps its spelling; the line keeps its line end.
        text.reserve(data.size() + newValue.size());
        text.append(data.constData(), found.keyLine.begin);
        text.append(data.constData() + found.keyName.begin, found.keyName.size());
        text.append('=').append(newValue);
        text.append(data.constData() + found.keyLine.end, data.size() - found.keyLine.end);
    } else if (found.sectionFound) {
        text.reserve(data.size() + keyName.Utf8().size() + newValue.size() + 8);
        text.append(data.constData(), found.insertAt);
        if (found.insertNeedsLineEnd)
            text.append(eol);
        text.append(keyName.Utf8()).append('=').append(newValue).append(eol);
        text.append(data.constData() + found.insertAt, data.size() - found.insertAt);
    } else {
        text = data;
        if (!text.isEmpty() && !text.endsWith('\n'))
            text.append(eol);
        text.append('[').append(sectionName.Utf8()).append(']').append(eol);
        text.append(keyName.Utf8()).append('=').append(newValue).append(eol);
    }
    return text;
}

} // namespace

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    WriteStrings({TIniEntry{section, key, value}});
}

void TIniFile::WriteStrings(const QList<TIniEntry>& entries)
{
    if (entries.isEmpty())
        return;
    const QByteArray path = WriteTarget(fileName_);
    QByteArray data;
    struct stat st;
    const ReadResult read = ReadAll(path, data, st);
    // A file we cannot read we cannot rewrite without losing its content.
    const bool refused = read == ReadResult::Failed
                         || (read == ReadResult::Ok && ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0);
    if (!refused)
        for (const TIniEntry& e : entries)
            data = WithValue(data, e.Section, e.Key, e.Value);
    if (refused || !ReplaceFile(path, data, read == ReadResult::Ok ? &st : nullptr))
        throw EIniFileException(QStringLiteral("Unable to write to ") + fileName_);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TryStrToInt(const QString& text, int& value)
{
    const QString s = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
        negative = s.at(i) == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s.at(i) == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s.at(i) == QLatin1Char('0')
               && (s.at(i + 1) == QLatin1Char('x') || s.at(i + 1) == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= s.size())
        return false;
    unsigned long long magnitude = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s.at(i).unicode();
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + unsigned(digit);
        if (magnitude > 0xFFFFFFFFull)
            return false;
    }
    long long result;
    if (hex) {
        // Hexadecimal is the 32-bit pattern: $FFFFFFFF is -1.
        result = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    } else {
        if (magnitude > (negative ? 2147483648ull : 2147483647ull))
            return false;
        result = static_cast<long long>(magnitude);
    }
    value = static_cast<int>(negative ? -result : result);
    return true;
}
