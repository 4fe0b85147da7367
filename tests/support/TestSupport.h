// Small helpers shared by the test executables.
#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <ostream>

#include "toolkit/Color.h"

namespace kestrix::test {

// Renders a widget (and its children) into an RGB32 image of its size.
QImage Render(QWidget* w);

// The pixel at (x, y) as a design colour value (0x00BBGGRR), so expectations
// can be written with the same numbers the layout uses.
TColor PixelAt(const QImage& img, int x, int y);

// Counts the pixels of a rectangle (left, top, right, bottom exclusive) that
// have the given colour.
int CountColor(const QImage& img, int left, int top, int right, int bottom, TColor c);

// Sends the pointer's enter (at (x, y) in the widget) or leave event, as the
// platform does when the pointer crosses the widget's edge.
void SendEnter(QWidget* w, int x = 1, int y = 1);
void SendLeave(QWidget* w);

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

// Saves an image next to the test binary for a human to look at when a pixel
// assertion fails; returns the file name.
QString SaveForInspection(const QImage& img, const QString& name);

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
