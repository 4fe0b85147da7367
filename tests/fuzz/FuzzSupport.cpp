#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace kestrix::fuzz {

void Fail(const std::string& what)
{
    std::fprintf(stderr, "\n==== broken property: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

namespace {

struct Scratch {
    Scratch()
    {
        const char* base = QDir("/dev/shm").exists() && ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : nullptr;
        if (!base)
            base = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
        QByteArray templ = QByteArray(base) + "/kestrix-fuzz-XXXXXX";
        if (!::mkdtemp(templ.data()))
            Fail("cannot create a scratch folder in " + std::string(base));
        path = QFile::decodeName(templ);
    }
    ~Scratch() { QDir(path).removeRecursively(); }
    QString path;
};

} // namespace

const QString& ScratchFolder()
{
    static Scratch scratch;
    return scratch.path;
}

void PutFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    Check(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(),
          "cannot write " + path.toStdString());
}

QByteArray GetFile(const QString& path)
{
    QFile f(path);
    Check(f.open(QIODevice::ReadOnly), "cannot read " + path.toStdString());
    return f.readAll();
}

QList<QByteArray> Lines(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!text.isEmpty() && text.endsWith('\n'))
        lines.removeLast();
    if (text.isEmpty())
        lines.clear();
    return lines;
}

namespace {

QByteArray WithoutTrailingCRs(QByteArray line)
{
    while (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

bool KeepsLines(const QByteArray& before, const QByteArray& after,
                const std::function<bool(const QByteArray&)>& mayChange,
                const std::function<bool(const QByteArray&)>& isNew, std::string& why)
{
    const QList<QByteArray> old = Lines(before);
    const QList<QByteArray> now = Lines(after);
    const bool openEnd = !before.isEmpty() && !before.endsWith('\n');
    qsizetype j = 0;
    for (qsizetype i = 0; i < old.size(); ++i) {
        if (mayChange(old[i]))
            continue;
        const bool last = openEnd && i == old.size() - 1;
        const auto same = [&](const QByteArray& line) {
            return last ? WithoutTrailingCRs(line) == WithoutTrailingCRs(old[i]) : line == old[i];
        };
        while (j < now.size() && !same(now[j])) {
            if (!isNew(now[j])) {
                why = "line " + Printable(now[j]) + " of the new text is neither kept nor written";
                return false;
            }
            ++j;
        }
        if (j == now.size()) {
            why = "line " + std::to_string(i + 1) + " " + Printable(old[i]) + " is lost";
            return false;
        }
        ++j;
    }
    for (; j < now.size(); ++j)
        if (!isNew(now[j])) {
            why = "line " + Printable(now[j]) + " at the end of the new text is neither kept nor written";
            return false;
        }
    return true;
}

std::string Printable(const QByteArray& bytes)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (qsizetype i = 0; i < bytes.size() && i < 300; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + char(c);
        else if (c < 0x20 || c >= 0x7F)
            out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        else
            out += char(c);
    }
    out += bytes.size() > 300 ? "\"..." : "\"";
    return out;
}

} // namespace kestrix::fuzz
