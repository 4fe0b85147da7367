#include "IniFiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Values are read up to this many characters, as into a 2048-byte buffer.
constexpr qsizetype kMaxValueLength = 2047;

// Reads go through a buffer of this size at first; it grows for longer
// lines. The fuzz build makes it tiny, so that short inputs meet its edges.
#ifdef KESTRIX_FUZZING
constexpr qsizetype kReadBuffer = 7;
#else
constexpr qsizetype kReadBuffer = qsizetype(1) << 20;
#endif

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

// Names match without regard to ASCII case; this hash folds case the same
// way, so that names that match hash alike.
quint64 FoldedHash(const char* p, Span s)
{
    quint64 h = 14695981039346656037ull;
    for (qsizetype i = s.begin; i < s.end; ++i) {
        char c = p[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return h;
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
        hash_ = FoldedHash(utf8_.constData(), {0, utf8_.size()});
    }

    const QByteArray& Utf8() const { return utf8_; }
    const QString& Text() const { return text_; }
    bool Ascii() const { return ascii_; }
    // Only an ASCII name is matched by bytes of the same hash alone.
    quint64 Hash() const { return hash_; }

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
    bool Matches(const QByteArray& bytes) const { return Matches(bytes.constData(), {0, bytes.size()}); }

private:
    QString text_;
    QByteArray utf8_;
    bool ascii_ = true;
    quint64 hash_ = 0;
};

// One (section, key) to look for; no key: the section alone.
struct Query {
    const Name* section = nullptr;
    const Name* key = nullptr;
};

// Where a query stands in the file.
struct Hit {
    bool sectionFound = false;
    // The first matching section: where its header line starts (which tells
    // sections apart), and its name.
    qsizetype sectionAt = -1;
    Span sectionName;
    // Where a missing key goes: after the last key line of that section (or
    // after its header), and whether the line there lacks a line end (the
    // last line of a file without final newline).
    qsizetype insertAt = 0;
    bool insertNeedsLineEnd = false;
    bool keyFound = false;
    qsizetype keySectionAt = -1; // the header of the section that holds the key
    Span keyLine;  // the text of the first matching key line, without line end
    Span keyName;  // its key, trimmed
    Span keyValue; // its value, trimmed
};

// One pass over the lines for all queries together, fed line by line.
// Keys before any section, comment lines (";") and lines without "=" belong
// to no query. Sections of the same name count as one, in file order: a key
// is the first matching key line of any of them, a missing key goes into
// the first.
//
// Memory stays in proportion to the queries, not to the file; time is one
// look at every line, and one hash of the name of every key line inside a
// section looked for.
class Finder {
public:
    explicit Finder(const std::vector<Query>& queries)
        : queries_(queries)
        , hits_(queries.size())
    {
        for (std::size_t q = 0; q < queries.size(); ++q) {
            std::size_t g = 0;
            while (g < groups_.size() && groups_[g].name->Text() != queries[q].section->Text())
                ++g;
            if (g == groups_.size()) {
                groups_.emplace_back();
                groups_.back().name = queries[q].section;
                if (queries[q].section->Ascii())
                    asciiGroups_[queries[q].section->Hash()].push_back(g);
                else
                    otherGroups_.push_back(g);
            }
            Group& group = groups_[g];
            group.members.push_back(q);
            if (const Name* key = queries[q].key) {
                if (key->Ascii()) {
                    group.asciiKeys[key->Hash()].push_back(q);
                    group.keyLengths |= quint64(1) << std::min<qsizetype>(key->Utf8().size(), 63);
                } else {
                    group.otherKeys.push_back(q);
                }
            }
        }
        open_ = queries.size();
    }

    // Called with each key found, while its line's text is at hand.
    std::function<void(std::size_t query, const char* line, Span value)> OnKey;

    // Whether some query still waits for an answer.
    bool Open() const { return open_ > 0; }

    // One line: its text p[0, len) without the "\n", where it starts in the
    // file, and whether a "\n" ends it. Spans in the hits count from the
    // start of the file.
    void Line(const char* p, qsizetype len, qsizetype at, bool nl)
    {
        const qsizetype next = at + len + (nl ? 1 : 0);
        qsizetype s = 0;
        while (s < len && (p[s] == ' ' || p[s] == '\t'))
            ++s;
        if (s < len && p[s] == '[') {
            const void* close = std::memchr(p + s + 1, ']', std::size_t(len - s - 1));
            const qsizetype nameEnd = close ? static_cast<const char*>(close) - p : len;
            const Span name = Trim(p, s + 1, nameEnd);
            headerAt_ = at;
            for (std::size_t g : inside_)
                groups_[g].in = groups_[g].firstOpen = false;
            inside_.clear();
            const auto enter = [&](std::size_t g) {
                Group& group = groups_[g];
                if (!group.name->Matches(p, name))
                    return;
                group.in = true;
                inside_.push_back(g);
                if (hits_[group.members.front()].sectionFound)
                    return;
                group.firstOpen = true;
                for (std::size_t q : group.members) {
                    Hit& h = hits_[q];
                    h.sectionFound = true;
                    h.sectionAt = at;
                    h.sectionName = {at + name.begin, at + name.end};
                    h.insertAt = next;
                    h.insertNeedsLineEnd = !nl;
                    if (!queries_[q].key)
                        --open_;
                }
            };
            const auto ascii = asciiGroups_.find(FoldedHash(p, name));
            if (ascii != asciiGroups_.end())
                for (std::size_t g : ascii->second)
                    enter(g);
            for (std::size_t g : otherGroups_)
                enter(g);
            return;
        }
        if (inside_.empty() || s >= len || p[s] == ';')
            return;
        const void* eq = std::memchr(p + s, '=', std::size_t(len - s));
        if (!eq)
            return;
        const qsizetype eqPos = static_cast<const char*>(eq) - p;
        const Span name = Trim(p, s, eqPos);
        const auto found = [&](std::size_t q) {
            Hit& h = hits_[q];
            if (h.keyFound || !queries_[q].key->Matches(p, name))
                return;
            const Span value = Trim(p, eqPos + 1, len);
            h.keyFound = true;
            h.keySectionAt = headerAt_;
            // The line's text ends before a CR of its line end.
            h.keyLine = {at, at + (len > 0 && p[len - 1] == '\r' ? len - 1 : len)};
            h.keyName = {at + name.begin, at + name.end};
            h.keyValue = {at + value.begin, at + value.end};
            if (OnKey)
                OnKey(q, p, value);
            --open_;
        };
        for (std::size_t g : inside_) {
            Group& group = groups_[g];
            if (group.firstOpen)
                for (std::size_t q : group.members) {
                    hits_[q].insertAt = next;
                    hits_[q].insertNeedsLineEnd = !nl;
                }
            if (group.keyLengths & (quint64(1) << std::min<qsizetype>(name.size(), 63))) {
                const auto ascii = group.asciiKeys.find(FoldedHash(p, name));
                if (ascii != group.asciiKeys.end())
                    for (std::size_t q : ascii->second)
                        found(q);
            }
            for (std::size_t q : group.otherKeys)
                found(q);
        }
    }

    const std::vector<Hit>& Hits() const { return hits_; }

private:
    // Queries with the same section name match the same headers: one group
    // each.
    struct Group {
        const Name* name = nullptr;
        bool in = false;        // inside a matching section now
        bool firstOpen = false; // inside the first matching section
        std::vector<std::size_t> members;
        std::unordered_map<quint64, std::vector<std::size_t>> asciiKeys;
        std::vector<std::size_t> otherKeys; // keys that must be decoded to compare
        quint64 keyLengths = 0;             // bit n: an ASCII key of n bytes (63: 63 or more)
    };

    const std::vector<Query>& queries_;
    std::vector<Hit> hits_;
    std::vector<Group> groups_;
    std::unordered_map<quint64, std::vector<std::size_t>> asciiGroups_;
    std::vector<std::size_t> otherGroups_;
    std::vector<std::size_t> inside_; // the groups whose section we are in
    qsizetype headerAt_ = -1;         // where the header of the section we are in starts
    std::size_t open_ = 0;            // queries not answered yet
};

// Feeds the lines of a text to a finder, up to the last answer it needs.
void FeedLines(Finder& finder, const char* p, qsizetype n, qsizetype base = 0)
{
    qsizetype pos = 0;
    while (pos < n && finder.Open()) {
        const void* nl = std::memchr(p + pos, '\n', std::size_t(n - pos));
        const qsizetype end = nl ? static_cast<const char*>(nl) - p : n;
        finder.Line(p + pos, end - pos, base + pos, nl != nullptr);
        pos = nl ? end + 1 : n;
    }
}

std::vector<Hit> FindAll(const QByteArray& data, const std::vector<Query>& queries)
{
    Finder finder(queries);
    FeedLines(finder, data.constData(), data.size());
    return finder.Hits();
}

enum class ReadResult { Ok, Missing, Failed };

// Opens a regular file to read. Missing: no such file; Failed: it exists
// but cannot be read or is no regular file (a folder, a device, a pipe).
ReadResult OpenToRead(const QByteArray& path, int& fd, struct stat& st)
{
    // O_NONBLOCK: a pipe in the file's place must not hang the program.
    fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::Failed;
    }
    return ReadResult::Ok;
}

// Reads as much as the buffer holds after `filled`; 0 at the end of the
// file, -1 on an error.
ssize_t ReadSome(int fd, QByteArray& buffer, qsizetype filled)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data() + filled, std::size_t(buffer.size() - filled));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

// Reads a whole regular file (Missing and Failed as OpenToRead).
ReadResult ReadAll(const QByteArray& path, QByteArray& data, struct stat& st)
{
    int fd = -1;
    const ReadResult opened = OpenToRead(path, fd, st);
    if (opened != ReadResult::Ok)
        return opened;
    ReadResult result = ReadResult::Ok;
    // Straight into the array, sized for the file as it stands (plus a byte,
    // to see the end at once); one that grows meanwhile is read to its end
    // all the same.
    data.resize(qsizetype(st.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size())
            data.resize(2 * data.size());
        const ssize_t got = ReadSome(fd, data, filled);
        if (got == 0)
            break;
        if (got < 0) {
            result = ReadResult::Failed;
            break;
        }
        filled += qsizetype(got);
    }
    data.resize(filled);
    ::close(fd);
    return result;
}

// Feeds the lines of a regular file to a finder as they are read, through
// a buffer that grows to the longest line, and stops reading at the last
// answer needed: a large file is never held whole.
ReadResult FeedFile(const QByteArray& path, Finder& finder)
{
    int fd = -1;
    struct stat st;
    const ReadResult opened = OpenToRead(path, fd, st);
    if (opened != ReadResult::Ok)
        return opened;
    ReadResult result = ReadResult::Ok;
    QByteArray buffer(kReadBuffer, Qt::Uninitialized);
    qsizetype filled = 0;  // bytes in the buffer
    qsizetype scanned = 0; // of them, searched for a line end without success
    qsizetype base = 0;    // where the buffer starts in the file
    while (finder.Open()) {
        if (filled == buffer.size())
            buffer.resize(2 * buffer.size());
        const ssize_t got = ReadSome(fd, buffer, filled);
        if (got < 0) {
            result = ReadResult::Failed;
            break;
        }
        if (got == 0) {
            if (filled > 0)
                finder.Line(buffer.constData(), filled, base, false); // no line end
            break;
        }
        filled += qsizetype(got);
        const char* p = buffer.constData();
        qsizetype pos = 0;
        while (finder.Open()) {
            const void* nl = std::memchr(p + scanned, '\n', std::size_t(filled - scanned));
            if (!nl) {
                scanned = filled;
                break;
            }
            const qsizetype end = static_cast<const char*>(nl) - p;
            finder.Line(p + pos, end - pos, base + pos, true);
            pos = scanned = end + 1;
        }
        std::memmove(buffer.data(), p + pos, std::size_t(filled - pos));
        base += pos;
        filled -= pos;
        scanned -= pos;
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

// The file a write goes to: where a symbolic link points rather than the
// link itself, so that the link survives the rename; through a chain of
// links to the last one's target, which need not exist yet (a dangling link
// is written through, creating its target). Relative targets count from the
// link's folder. A loop is left to the system, which refuses to open it.
QByteArray WriteTarget(const QString& fileName)
{
    QByteArray path = QFile::encodeName(fileName);
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), buf, sizeof buf);
        if (n <= 0 || std::size_t(n) >= sizeof buf)
            break;
        QByteArray target(buf, qsizetype(n));
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            if (slash >= 0)
                target.prepend(path.left(slash + 1));
        }
        path = target;
    }
    return path;
}

// The queries of a list of (section, key) names; `names` holds them.
std::vector<Query> QueriesOf(const std::vector<Name>& names)
{
    std::vector<Query> queries;
    for (std::size_t i = 0; i + 1 < names.size(); i += 2)
        queries.push_back({&names[i], &names[i + 1]});
    return queries;
}

} // namespace

TIniFile::TIniFile(const QString& fileName)
    : fileName_(fileName)
{
}

QList<std::optional<QString>> TIniFile::ReadStrings(const QList<TIniKey>& keys) const
{
    QList<std::optional<QString>> values(keys.size());
    if (keys.isEmpty())
        return values;
    std::vector<Name> names;
    names.reserve(std::size_t(keys.size()) * 2);
    for (const TIniKey& k : keys) {
        names.emplace_back(k.Section);
        names.emplace_back(k.Key);
    }
    const std::vector<Query> queries = QueriesOf(names);
    Finder finder(queries);
    finder.OnKey = [&values](std::size_t q, const char* line, Span value) {
        values[qsizetype(q)] = ValueText(line, value);
    };
    // A file that fails halfway answers nothing, as one that fails at once.
    if (FeedFile(QFile::encodeName(fileName_), finder) != ReadResult::Ok)
        return QList<std::optional<QString>>(keys.size());
    return values;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return ReadStrings({TIniKey{section, key}}).front().value_or(defaultValue);
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
    const Name name(section);
    const std::vector<Query> queries = {Query{&name, nullptr}};
    Finder finder(queries);
    return FeedFile(QFile::encodeName(fileName_), finder) == ReadResult::Ok && finder.Hits().front().sectionFound;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return ReadStrings({TIniKey{section, key}}).front().has_value();
}

namespace {

// A key line the batch adds, or one whose value it sets.
struct NewLine {
    QByteArray name;
    QByteArray value;
    QByteArray eol;
};

// New lines after the last key line of a section of the file.
struct Insertion {
    qsizetype at = 0;
    bool needsLineEnd = false;
    Span sectionName;
    std::vector<NewLine> lines;
};

// A section the batch adds at the end of the file.
struct NewSection {
    QByteArray header; // the text between the brackets
    QByteArray name;   // the name a reader sees in it
    QByteArray eol;
    std::vector<NewLine> lines;
};

// A key line of the file with its new value.
struct Replacement {
    Span line;
    Span name;
    QByteArray value;
};

// A run of writes applied to the text of the file as one edit. Each write
// leaves what a single write of it would leave, in the text as the writes
// before it have left it: the key's line replaced (the key keeps its
// spelling, the line its line end), or a new line at the end of its
// section, or a new section at the end of the file.
//
// The file is searched once for all writes; what they add is kept apart and
// searched by the later writes. This holds while every line keeps its kind:
// a key line stays a key line of the same name. A write that would turn a
// line into a section header or a comment (a key "[x" or ";x") or add a line
// of another key ("a=b") is not applied here: the caller writes it into the
// finished text on its own.
class Edit {
public:
    Edit(const QByteArray& data, const QList<TIniEntry>& entries, qsizetype from, qsizetype to)
        : data_(data)
    {
        const qsizetype firstLineEnd = data.indexOf('\n');
        hasLineEnd_ = firstLineEnd >= 0;
        firstEol_ = firstLineEnd > 0 && data.at(firstLineEnd - 1) == '\r' ? "\r\n" : "\n";
        for (qsizetype i = from; i < to; ++i) {
            const TIniEntry& e = entries[i];
            names_.emplace_back(OneLine(e.Section));
            names_.emplace_back(OneLine(e.Key));
            values_.push_back(OneLine(e.Value).toUtf8());
        }
        hits_ = FindAll(data, QueriesOf(names_));
    }

    // Applies the writes in order while they keep every line's kind (the
    // first one in any case when `forceFirst`); returns how many it applied.
    std::size_t Apply(bool forceFirst)
    {
        std::size_t i = 0;
        while (i < hits_.size() && ApplyOne(i, forceFirst && i == 0))
            ++i;
        return i;
    }

    // The text with the writes applied.
    QByteArray Text() const
    {
        const char* p = data_.constData();
        const qsizetype n = data_.size();
        QByteArray out;
        out.reserve(n + 64 * qsizetype(hits_.size()));
        qsizetype pos = 0;
        bool endEolWritten = false;
        const auto put = [&out](const NewLine& l) { out.append(l.name).append('=').append(l.value).append(l.eol); };
        auto r = replaced_.begin();
        auto ins = inserted_.begin();
        while (r != replaced_.end() || ins != inserted_.end()) {
            if (ins == inserted_.end() || (r != replaced_.end() && r->first < ins->second.at)) {
                const Replacement& rep = r->second;
                out.append(p + pos, rep.line.begin - pos);
                out.append(p + rep.name.begin, rep.name.size()).append('=').append(rep.value);
                pos = rep.line.end;
                ++r;
            } else {
                const Insertion& in = ins->second;
                out.append(p + pos, in.at - pos);
                pos = in.at;
                if (pos == n && endEolSet_ && !endEolWritten) {
                    out.append(endEol_);
                    endEolWritten = true;
                }
                for (const NewLine& l : in.lines)
                    put(l);
                ++ins;
            }
        }
        out.append(p + pos, n - pos);
        if (endEolSet_ && !endEolWritten)
            out.append(endEol_);
        for (const NewSection& section : appended_) {
            out.append('[').append(section.header).append(']').append(section.eol);
            for (const NewLine& l : section.lines)
                put(l);
        }
        return out;
    }

private:
    // The line end of a new line: the style of the text's first line; a text
    // of one line without line end has its style only after a first write.
    QByteArray Eol() const
    {
        if (hasLineEnd_)
            return firstEol_;
        if (applied_ == 0)
            return "\n";
        return data_.endsWith('\r') ? "\r\n" : "\n";
    }

    // Whether a line "name=..." reads back as a key line of that name.
    static bool KeepsKind(const char* p, Span name)
    {
        return name.size() == 0 || (p[name.begin] != '[' && p[name.begin] != ';');
    }

    bool ApplyOne(std::size_t i, bool force)
    {
        const Name& section = names_[2 * i];
        const Name& key = names_[2 * i + 1];
        const Hit& hit = hits_[i];
        const char* p = data_.constData();
        // The key as the text stands now: in the sections of the file, their
        // own key lines first, then the lines added to them; then in the
        // sections added.
        NewLine* line = nullptr;
        for (auto& [at, in] : inserted_) {
            if (hit.keyFound && at >= hit.keySectionAt)
                break;
            if (section.Matches(p, in.sectionName))
                for (NewLine& l : in.lines)
                    if (!line && key.Matches(l.name))
                        line = &l;
            if (line)
                break;
        }
        if (!line && hit.keyFound) {
            if (!force && !KeepsKind(p, hit.keyName))
                return false;
            Span line = hit.keyLine;
            // A last line without line end whose CR the line end written
            // after it has turned into the text of the line.
            if (endEolSet_ && endEol_.startsWith('\r') && line.end + 1 == data_.size() && data_.endsWith('\r'))
                line.end = data_.size();
            replaced_[hit.keyLine.begin] = {line, hit.keyName, values_[i]};
            ++applied_;
            return true;
        }
        // The first added section of the name takes a missing key when the
        // file has no such section.
        NewSection* added = nullptr;
        for (NewSection& s : appended_) {
            if (line)
                break;
            if (!section.Matches(s.name))
                continue;
            if (!added)
                added = &s;
            for (NewLine& l : s.lines)
                if (!line && key.Matches(l.name))
                    line = &l;
        }
        if (line) {
            line->value = values_[i];
            ++applied_;
            return true;
        }
        const QByteArray& name = key.Utf8();
        if (!force && (!KeepsKind(name.constData(), {0, name.size()}) || name.contains('=')))
            return false;
        const QByteArray eol = Eol();
        NewLine l{name, values_[i], eol};
        if (hit.sectionFound) {
            Insertion& in = inserted_[hit.sectionAt];
            if (in.lines.empty()) {
                in.at = hit.insertAt;
                in.needsLineEnd = hit.insertNeedsLineEnd;
                in.sectionName = hit.sectionName;
            }
            if (in.needsLineEnd && !endEolSet_)
                SetEndEol(eol);
            in.lines.push_back(std::move(l));
        } else if (added) {
            added->lines.push_back(std::move(l));
        } else {
            NewSection s;
            s.header = section.Utf8();
            const qsizetype close = s.header.indexOf(']');
            const Span seen = Trim(s.header.constData(), 0, close < 0 ? s.header.size() : close);
            s.name = s.header.mid(seen.begin, seen.size());
            s.eol = eol;
            s.lines.push_back(std::move(l));
            appended_.push_back(std::move(s));
            if (!data_.isEmpty() && !data_.endsWith('\n') && !endEolSet_)
                SetEndEol(eol);
        }
        ++applied_;
        return true;
    }

    void SetEndEol(const QByteArray& eol)
    {
        endEol_ = eol;
        endEolSet_ = true;
    }

    const QByteArray& data_;
    bool hasLineEnd_ = false;
    QByteArray firstEol_;
    std::vector<Name> names_; // section and key of each write
    std::vector<QByteArray> values_;
    std::vector<Hit> hits_;   // where each stands in the file
    std::map<qsizetype, Replacement> replaced_; // by the start of the line
    std::map<qsizetype, Insertion> inserted_;   // by the start of the section's header
    std::vector<NewSection> appended_;
    // The line end written after a last line without one, before what
    // follows it.
    QByteArray endEol_;
    bool endEolSet_ = false;
    std::size_t applied_ = 0;
};

// The text after the writes, in order.
QByteArray WithValues(QByteArray data, const QList<TIniEntry>& entries)
{
    qsizetype i = 0;
    while (i < entries.size()) {
        Edit edit(data, entries, i, entries.size());
        qsizetype done = qsizetype(edit.Apply(false));
        if (done == 0) {
            // A write that changes a line's kind: on its own.
            Edit one(data, entries, i, i + 1);
            done = qsizetype(one.Apply(true));
            data = one.Text();
        } else {
            data = edit.Text();
        }
        i += done;
    }
    return data;
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
        data = WithValues(std::move(data), entries);
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
