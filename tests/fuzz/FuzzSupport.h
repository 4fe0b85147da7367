// What the fuzz targets share: a property that fails stops the run as a
// crash does (libFuzzer then keeps the input), a private scratch folder, and
// the check that a rewritten file kept every line it had.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <string>

namespace kestrix::fuzz {

// Prints the broken property and aborts, so that libFuzzer saves the input.
[[noreturn]] void Fail(const std::string& what);

inline void Check(bool holds, const std::string& what)
{
    if (!holds)
        Fail(what);
}

// A folder of our own for the run's files, removed at exit: in /dev/shm
// where there is one, so that writes and fsyncs cost no disk.
const QString& ScratchFolder();

void PutFile(const QString& path, const QByteArray& bytes);
QByteArray GetFile(const QString& path);

// The lines of a text: split at "\n", the line ends not included.
QList<QByteArray> Lines(const QByteArray& text);

// Whether `after` keeps every line of `before` in order, except lines for
// which `mayChange` holds. A last line without line end may gain CRs before
// the line end it gets. Every line of `after` that is not one of `before`'s
// must satisfy `isNew`. On failure `why` says which line.
bool KeepsLines(const QByteArray& before, const QByteArray& after,
                const std::function<bool(const QByteArray&)>& mayChange,
                const std::function<bool(const QByteArray&)>& isNew, std::string& why);

// Bytes as printable text for messages, cut after 300 bytes.
std::string Printable(const QByteArray& bytes);

} // namespace kestrix::fuzz
