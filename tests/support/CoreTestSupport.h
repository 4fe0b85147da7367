// Helpers shared by every test executable, Qt Core only: write protection
// of files and folders, and printing of Qt texts in failure messages.
#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

namespace kestrix::test {

// Makes a file or folder unwritable for this process while it lives: as root,
// whom permissions do not stop, with the immutable flag (chattr +i); as
// anyone else with read-only permissions. Active() is false when that cannot
// be done here (root on a file system without the flag): such a test skips
// with SkipReason().
class WriteProtection {
public:
    explicit WriteProtection(const QString& path);
    ~WriteProtection() { Lift(); }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

    bool Active() const { return active_; }
    static const char* SkipReason();
    // Makes the path writable again (also done at the end of its life).
    void Lift();

private:
    QString path_;
    bool active_ = false;
    bool immutable_ = false;
    int permissions_ = 0;
};

} // namespace kestrix::test

// Lets GoogleTest print texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Bytes as a C string literal with escapes, cut after 200 bytes.
inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    static const char hex[] = "0123456789abcdef";
    *os << '"';
    for (qsizetype i = 0; i < bytes.size() && i < 200; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n')
            *os << "\\n";
        else if (c == '\r')
            *os << "\\r";
        else if (c == '"' || c == '\\')
            *os << '\\' << char(c);
        else if (c < 0x20 || c >= 0x7F)
            *os << "\\x" << hex[c >> 4] << hex[c & 15];
        else
            *os << char(c);
    }
    *os << (bytes.size() > 200 ? "\"..." : "\"");
}
