// The ini reader on any file. The input is the file. Looked up: the
// program's own sections and keys and every section and key name the file
// itself spells (so the fuzzer reaches real hits, not only misses).
//
// Properties:
// - one pass for many keys (ReadStrings) reads what a read of each key does;
// - a value has no line break, no blank at either end unless it was quoted,
//   and at most 2047 characters, never ending inside a surrogate pair;
// - ReadInteger gives either the same number for two defaults or each
//   default; ReadBool agrees with it; ValueExists implies SectionExists;
// - a section appended after anything the file holds is read intact.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <optional>

#include "FuzzSupport.h"
#include "platform/IniFiles.h"

using namespace kestrix::fuzz;

namespace {

bool Blank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

// Section and key names the text spells, a few of each.
QList<TIniKey> NamesIn(const QByteArray& data)
{
    QList<TIniKey> keys = {{"Form1", "dc1"}, {"Form1", "GBView"}, {"Dialog_Positions", "Form11024x768Left"},
                           {"", ""},         {"form1", "DC1"},    {QString::fromUtf8("\xC3\xA9"), "k"}};
    QString section = "Form1";
    int taken = 0;
    for (const QByteArray& line : Lines(data)) {
        if (taken == 16)
            break;
        const QByteArray t = line.trimmed();
        if (t.startsWith('[')) {
            const qsizetype close = t.indexOf(']');
            section = QString::fromUtf8(t.mid(1, close < 0 ? -1 : close - 1));
            keys.append({section, "dc1"});
            ++taken;
        } else if (const qsizetype eq = t.indexOf('='); eq >= 0) {
            keys.append({section, QString::fromUtf8(t.left(eq))});
            ++taken;
        }
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const QString path = ScratchFolder() + "/read.ini";
    PutFile(path, data);
    const TIniFile ini(path);

    const QList<TIniKey> keys = NamesIn(data);
    const QList<std::optional<QString>> values = ini.ReadStrings(keys);
    Check(values.size() == keys.size(), "ReadStrings answers every key");
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const TIniKey& k = keys[i];
        const std::string where = "[" + k.Section.toStdString() + "] " + k.Key.toStdString();
        const QString single = ini.ReadString(k.Section, k.Key, QStringLiteral("\x01missing"));
        Check(values[i].value_or(QStringLiteral("\x01missing")) == single,
              where + ": one pass for many keys reads what a single read does");
        Check(ini.ValueExists(k.Section, k.Key) == values[i].has_value(), where + ": ValueExists agrees");
        if (values[i]) {
            const QString& v = *values[i];
            Check(!v.contains(u'\n'), where + ": a value holds no line break");
            Check(v.size() <= 2047, where + ": a value has at most 2047 characters");
            Check(v.isEmpty() || !v.back().isHighSurrogate(), where + ": a value never ends inside a surrogate pair");
            if (!v.isEmpty() && v.size() < 2047 && (Blank(v.front()) || Blank(v.back())))
                Check(data.contains('"') || data.contains('\''), where + ": an unquoted value is trimmed");
            Check(ini.SectionExists(k.Section), where + ": a key's section exists");
        }
        const int a = ini.ReadInteger(k.Section, k.Key, 11);
        const int b = ini.ReadInteger(k.Section, k.Key, -7);
        int parsed = 0;
        const bool number = values[i] && TryStrToInt(*values[i], parsed);
        Check(number ? a == parsed && b == parsed : a == 11 && b == -7,
              where + ": ReadInteger reads the value's integer, else gives the default");
        Check(ini.ReadBool(k.Section, k.Key, a == 0) == (number ? parsed != 0 : a == 0),
              where + ": ReadBool is the integer other than 0, else the default");
    }

    // Whatever came before, a section after it reads as written.
    if (!data.toLower().contains("kx9probe")) {
        PutFile(path, data + "\n[Kx9Probe]\r\n  Probe = \"a value\" \r\nnext=1");
        Check(ini.ReadString("kx9probe", "PROBE", "-") == "a value", "a section appended after the text reads intact");
        Check(ini.ReadString("Kx9Probe", "next", "-") == "1", "the last line without line end reads");
    }
    return 0;
}
