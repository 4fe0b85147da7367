// Private-profile ini files with the Windows reading and writing rules: a
// section starts with "[name]", then lines "key=value"; section and key names
// match without regard to case; the first of duplicate keys wins; lines
// without "=" and comment lines (";") are ignored when reading and kept when
// writing.
//
// Every read opens the file afresh and every write is one read-modify-replace
// of it: the new text goes to a temporary file in the same folder, is synced
// and renamed over the original, so a crash never leaves a truncated file.
// Everything else in the file stays byte for byte, line ends keep the file's
// style (CRLF or LF; new files LF). Texts are UTF-8.
//
// A file named through a symbolic link (or a chain of them) is read and
// written where the link points, and created there when it is missing; the
// link itself stays as it is. Reads and writes of many keys at once
// (ReadStrings, WriteStrings) pass over the file once, however large it is.
#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "SysUtils.h"

// A key of a section to read.
struct TIniKey {
    QString Section;
    QString Key;
};

// One value to write: a key of a section and its new text.
struct TIniEntry {
    QString Section;
    QString Key;
    QString Value;
};

class TIniFile {
public:
    explicit TIniFile(const QString& fileName);

    QString FileName() const { return fileName_; }

    // The value of a key with blanks trimmed at both ends and one pair of
    // matching surrounding quotes removed, cut to 2047 characters; the
    // default when the file, the section or the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The value as an integer (decimal, or hexadecimal after "$", "0x" or
    // "0X"; optional sign); the default when it is no integer or missing.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // An integer value other than 0; the default when no integer.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // The values of several keys, each as ReadString reads it, from one
    // read of the file; nullopt for a key (or section, or file) that is
    // missing.
    QList<std::optional<QString>> ReadStrings(const QList<TIniKey>& keys) const;

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Writes raise EIniFileException "Unable to write to <file name>" when
    // the system refuses (read-only file or folder, missing folder).
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    // "1" or "0".
    void WriteBool(const QString& section, const QString& key, bool value);
    // Writes several values with a single replacement of the file: the file
    // then holds byte for byte what WriteString of each entry in turn would
    // leave, but it is synced once, not once per key. Refused as WriteString
    // is; a refused batch leaves the file as it was. No entries: no write.
    void WriteStrings(const QList<TIniEntry>& entries);

private:
    QString fileName_;
};

// Reads a whole integer as ReadInteger does: optional sign, then decimal
// digits, or hexadecimal digits after "$", "0x" or "0X" (up to 32 bits, so
// "$FFFFFFFF" is -1). False for anything else, and for decimal values
// outside the 32-bit range.
bool TryStrToInt(const QString& text, int& value);
