// Private-profile ini files on real files in a temporary folder: the reading
// rules, byte-exact writes that keep everything else, and refused writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <sys/stat.h>

#include "platform/IniFiles.h"
#include "support/CoreTestSupport.h"

using kestrix::test::WriteProtection;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name = QStringLiteral("INIVAL.INI")) const { return dir_.filePath(name); }

    static void Put(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    static QByteArray Get(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // The file with the given bytes, opened as an ini file.
    TIniFile With(const QByteArray& bytes)
    {
        Put(Path(), bytes);
        return TIniFile(Path());
    }

    QStringList FolderEntries() const
    {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir_;
};

const QString S = QStringLiteral("Form1");

} // namespace

TEST_F(IniFileTest, MissingOrEmptyFileGivesTheDefaults)
{
    TIniFile missing(Path());
    EXPECT_EQ(missing.ReadString(S, "dc1", "def"), "def");
    EXPECT_EQ(missing.ReadInteger(S, "dc1", 42), 42);
    EXPECT_TRUE(missing.ReadBool(S, "dc1", true));
    EXPECT_FALSE(missing.SectionExists(S));
    EXPECT_FALSE(missing.ValueExists(S, "dc1"));

    TIniFile empty = With("");
    EXPECT_EQ(empty.ReadString(S, "dc1", "def"), "def");
    EXPECT_FALSE(empty.ReadBool(S, "dc1", false));
    EXPECT_FALSE(empty.SectionExists(S));

    // A folder in the file's place reads as missing.
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.ini"));
    EXPECT_EQ(TIniFile(Path("folder.ini")).ReadInteger(S, "x", 7), 7);
}

TEST_F(IniFileTest, IntegersDecimalHexadecimalAndEverythingElse)
{
    TIniFile ini = With("[Form1]\n"
                        "a=0x0\nb=$1\nc=yes\nd=-1\ne=  1  \nf=$FF\ng=0XfF\nh=+7\ni=1.5\nj=\n"
                        "k=2147483647\nl=2147483648\nm=-2147483648\nn=$FFFFFFFF\no=0x\np=12abc\n"
                        "q=\t3\t\nr=- 1\ns=$\nt=-$10\nu=$100000000\n");
    const std::pair<const char*, int> expected[] = {
        {"a", 0},  {"b", 1},           {"c", 99},          {"d", -1},          {"e", 1},  {"f", 255},
        {"g", 255}, {"h", 7},          {"i", 99},          {"j", 99},          {"k", 2147483647},
        {"l", 99}, {"m", -2147483647 - 1}, {"n", -1},      {"o", 99},          {"p", 99}, {"q", 3},
        {"r", 99}, {"s", 99},          {"t", -16},         {"u", 99},          {"missing", 99},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(ini.ReadInteger(S, key, 99), value) << key;

    // "0x0" reads as 0 (false); "yes" is no integer and leaves the default.
    EXPECT_FALSE(ini.ReadBool(S, "a", true));
    EXPECT_TRUE(ini.ReadBool(S, "b", false));
    EXPECT_TRUE(ini.ReadBool(S, "c", true));
    EXPECT_FALSE(ini.ReadBool(S, "c", false));
    EXPECT_TRUE(ini.ReadBool(S, "d", false));
    EXPECT_TRUE(ini.ReadBool(S, "e", false));
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseAndBlanks)
{
    TIniFile ini = With("[FORM1]\r\nDC1=0\r\n[ Other ]\r\n  Key  =  v  \r\n[grÖsse]\nSchlÜssel=ja\n");
    EXPECT_FALSE(ini.ReadBool("Form1", "dc1", true));
    EXPECT_EQ(ini.ReadString("other", "KEY", "-"), "v");
    EXPECT_EQ(ini.ReadString(QString::fromUtf8("GRöSSE"), QString::fromUtf8("schlüssel"), "-"), "ja");
    EXPECT_TRUE(ini.SectionExists("form1"));
    EXPECT_TRUE(ini.ValueExists("FoRm1", "Dc1"));
    EXPECT_FALSE(ini.ValueExists("Form1", "dc2"));
}

TEST_F(IniFileTest, FirstKeyWinsAndOnlyRealKeyLinesCount)
{
    TIniFile ini = With("k=0\n"            // before any section: in none
                        "[S]\n"
                        ";k=5\n"            // a comment
                        "junk line\n"       // no "="
                        "k=1\n"
                        "k=2\n"
                        "[T]\nb=2\n"
                        "[s]\nk=3\nc=4\n"); // a second [S] adds its keys
    EXPECT_EQ(ini.ReadString("S", "k", "-"), "1");
    EXPECT_EQ(ini.ReadString("S", ";k", "-"), "-");
    EXPECT_EQ(ini.ReadString("S", "junk line", "-"), "-");
    EXPECT_EQ(ini.ReadString("S", "c", "-"), "4");
    EXPECT_EQ(ini.ReadString("T", "k", "-"), "-");
    EXPECT_EQ(ini.ReadString("", "k", "-"), "-");
}

TEST_F(IniFileTest, LineEndsQuotesAndEmptyValues)
{
    EXPECT_EQ(With("[S]\r\nk=v\r\n").ReadString("S", "k", "-"), "v");
    EXPECT_EQ(With("[S]\nk=v").ReadString("S", "k", "-"), "v");
    TIniFile ini = With("[S]\na=\"  a b  \"\nb='x'\nc=\"x'\nd=\ne=\"\"\n");
    EXPECT_EQ(ini.ReadString("S", "a", "-"), "  a b  ");
    EXPECT_EQ(ini.ReadString("S", "b", "-"), "x");
    EXPECT_EQ(ini.ReadString("S", "c", "-"), "\"x'");
    EXPECT_EQ(ini.ReadString("S", "d", "-"), "");
    EXPECT_EQ(ini.ReadString("S", "e", "-"), "");
}

TEST_F(IniFileTest, LongValuesAreCutTo2047Characters)
{
    const QByteArray longValue(100000, 'v');
    TIniFile ini = With("[S]\nk=" + longValue + "\n");
    EXPECT_EQ(ini.ReadString("S", "k", "-"), QString(2047, QLatin1Char('v')));

    QString accented(3000, QChar(0xE9)); // two bytes each in UTF-8
    ini = With("[S]\nk=" + accented.toUtf8() + "\n");
    EXPECT_EQ(ini.ReadString("S", "k", "-"), QString(2047, QChar(0xE9)));

    // Characters outside the basic plane are never cut in half.
    QString emoji;
    for (int i = 0; i < 1500; ++i)
        emoji += QString::fromUtf8("\xF0\x9F\x98\x80");
    ini = With("[S]\nk=" + emoji.toUtf8() + "\n");
    EXPECT_EQ(ini.ReadString("S", "k", "-"), emoji.left(2046));
}

TEST_F(IniFileTest, HugeLinesAndBinaryGarbageAreHandled)
{
    const QByteArray tenMegabytes(10 * 1024 * 1024, 'x');
    TIniFile ini = With("[S]\n" + tenMegabytes + "\nk=v\n" + tenMegabytes + "=1\nj=" + tenMegabytes + "\n[" + tenMegabytes
                        + "\n");
    EXPECT_EQ(ini.ReadString("S", "k", "-"), "v");
    EXPECT_EQ(ini.ReadString("S", "j", "-").size(), 2047);
    ini.WriteString("S", "k", "w");
    EXPECT_EQ(Get(Path()), "[S]\n" + tenMegabytes + "\nk=w\n" + tenMegabytes + "=1\nj=" + tenMegabytes + "\n["
                               + tenMegabytes + "\n");

    std::mt19937 random(1234);
    QByteArray garbage(1 << 20, '\0');
    for (char& c : garbage)
        c = char(random() & 0xFF);
    garbage.append('x'); // does not end in a line end
    ini = With(garbage);
    EXPECT_EQ(ini.ReadString(S, "dc1", "-"), "-");
    ini.WriteString(S, "dc1", "1");
    const QByteArray written = Get(Path());
    EXPECT_TRUE(written.startsWith(garbage));
    EXPECT_EQ(ini.ReadString(S, "dc1", "-"), "1");
}

TEST_F(IniFileTest, WritesCreateTheFileTheSectionAndTheKey)
{
    TIniFile ini(Path());
    ini.WriteBool(S, "dc1", true);
    EXPECT_EQ(Get(Path()), "[Form1]\ndc1=1\n");
    ini.WriteBool(S, "dd1", false);
    ini.WriteInteger("Dialog_Positions", "Form11024x768Left", -5);
    ini.WriteString(S, "dc1", "0");
    EXPECT_EQ(Get(Path()), "[Form1]\ndc1=0\ndd1=0\n[Dialog_Positions]\nForm11024x768Left=-5\n");
    EXPECT_EQ(ini.ReadInteger("dialog_positions", "form11024x768left", 0), -5);
    // Line breaks cannot break the file apart.
    ini.WriteString(S, "dd1", "a\r\nb");
    EXPECT_EQ(ini.ReadString(S, "dd1", "-"), "a  b");
    // Texts are UTF-8.
    ini.WriteString(S, "name", QString::fromUtf8("naïve"));
    EXPECT_TRUE(Get(Path()).contains("\nname=na\xC3\xAFve\n[Dialog_Positions]"));
    EXPECT_EQ(ini.ReadString(S, "NAME", "-"), QString::fromUtf8("naïve"));
    // No temporary file is left behind.
    EXPECT_EQ(FolderEntries(), QStringList{"INIVAL.INI"});
}

TEST_F(IniFileTest, WritesKeepEverythingElseByteForByte)
{
    const QByteArray original = "; settings\r\n"
                                "[A]\r\n"
                                "x = 1\r\n"
                                "\r\n"
                                "; comment about B\r\n"
                                "[b]\r\n"
                                "  Key1 = old  \r\n"
                                "junk\r\n"
                                "key2 = 2\r\n"
                                "\r\n"
                                "[C]\r\n"
                                "z=3\r\n";
    TIniFile ini = With(original);
    ini.WriteString("B", "KEY1", "new");
    QByteArray expected = original;
    expected.replace("  Key1 = old  \r\n", "Key1=new\r\n");
    EXPECT_EQ(Get(Path()), expected);

    ini.WriteString("b", "k3", "v");
    expected.replace("key2 = 2\r\n", "key2 = 2\r\nk3=v\r\n");
    EXPECT_EQ(Get(Path()), expected);

    ini.WriteString("D", "d", "4");
    expected += "[D]\r\nd=4\r\n";
    EXPECT_EQ(Get(Path()), expected);

    // A key missing in a section of comments only goes right after its header.
    ini = With("[S]\n; nothing yet\n\n[T]\n");
    ini.WriteString("S", "a", "1");
    EXPECT_EQ(Get(Path()), "[S]\na=1\n; nothing yet\n\n[T]\n");

    // The first of duplicate keys is the one replaced.
    ini = With("[S]\nk=1\nk=2\n");
    ini.WriteString("S", "K", "9");
    EXPECT_EQ(Get(Path()), "[S]\nk=9\nk=2\n");
}

TEST_F(IniFileTest, MissingFinalNewline)
{
    TIniFile ini = With("[S]\nk=1");
    ini.WriteString("S", "k", "2");
    EXPECT_EQ(Get(Path()), "[S]\nk=2");
    ini.WriteString("S", "j", "3");
    EXPECT_EQ(Get(Path()), "[S]\nk=2\nj=3\n");

    ini = With("[S]\nk=1");
    ini.WriteString("T", "a", "b");
    EXPECT_EQ(Get(Path()), "[S]\nk=1\n[T]\na=b\n");

    ini = With("[S]");
    ini.WriteString("s", "a", "1");
    EXPECT_EQ(Get(Path()), "[S]\na=1\n");
}

TEST_F(IniFileTest, PermissionsAndLinksSurviveAWrite)
{
    TIniFile ini = With("[S]\nk=1\n");
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ini.WriteString("S", "k", "2");
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(Path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Writing through a symbolic link updates its target and keeps the link.
    ASSERT_TRUE(QFile::link(Path(), Path("link.ini")));
    TIniFile link(Path("link.ini"));
    link.WriteString("S", "k", "3");
    EXPECT_TRUE(QFileInfo(Path("link.ini")).isSymLink());
    EXPECT_EQ(Get(Path()), "[S]\nk=3\n");
}

TEST_F(IniFileTest, RefusedWritesRaiseTheDesignMessage)
{
    const QString noFolder = dir_.filePath("missing/kespos.ini");
    TIniFile ini(noFolder);
    try {
        ini.WriteString(S, "k", "1");
        FAIL() << "a write into a missing folder succeeded";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + noFolder);
        EXPECT_EQ(std::string(e.what()), ("Unable to write to " + noFolder).toStdString());
    }

    // A folder where the file should be: refused, also for root.
    ASSERT_TRUE(QDir(dir_.path()).mkdir("INIVAL.INI"));
    EXPECT_THROW(TIniFile(Path()).WriteBool(S, "dc1", true), EIniFileException);
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(IniFileTest, ReadOnlyFileIsRefusedAndKept)
{
    TIniFile ini = With("[S]\nk=1\n");
    WriteProtection protection(Path());
    if (!protection.Active())
        GTEST_SKIP() << WriteProtection::SkipReason();
    EXPECT_THROW(ini.WriteString("S", "k", "2"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "new", "2"), EIniFileException);
    try {
        ini.WriteStrings({{"S", "k", "2"}, {"S", "j", "3"}});
        ADD_FAILURE() << "a batch into a read-only file succeeded";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + Path());
    }
    protection.Lift();
    EXPECT_EQ(Get(Path()), "[S]\nk=1\n");
    EXPECT_EQ(FolderEntries(), QStringList{"INIVAL.INI"});
}

TEST_F(IniFileTest, ReadOnlyFolderIsRefused)
{
    const QString folder = dir_.filePath("ro");
    ASSERT_TRUE(QDir(dir_.path()).mkdir("ro"));
    WriteProtection protection(folder);
    if (!protection.Active())
        GTEST_SKIP() << WriteProtection::SkipReason();
    TIniFile ini(folder + "/INIVAL.INI");
    EXPECT_THROW(ini.WriteBool(S, "dc1", true), EIniFileException);
    protection.Lift();
    EXPECT_TRUE(QDir(folder).isEmpty());
}

TEST_F(IniFileTest, BatchedWritesLeaveWhatSingleWritesLeave)
{
    const QByteArray original = "[Other]\r\nkeep=me\r\n[FORM1]\r\nDC1=1\r\n[Dialog_Positions]\r\nForm1800x600Left=3";
    const QList<TIniEntry> batch = {
        {S, "dc1", "0"},                       // the existing key, in other case
        {S, "dd1", "1"},                       // a new key of that section
        {"Dialog_Positions", "Form11024x768Left", "5"}, // after a last line without line end
        {"New", "a", "x"},                     // a new section at the end
        {S, "dd1", "0"},                       // the same key again: the last one wins
    };
    TIniFile ini = With(original);
    ini.WriteStrings(batch);
    const QByteArray expected = "[Other]\r\nkeep=me\r\n[FORM1]\r\nDC1=0\r\ndd1=0\r\n"
                                "[Dialog_Positions]\r\nForm1800x600Left=3\r\nForm11024x768Left=5\r\n"
                                "[New]\r\na=x\r\n";
    EXPECT_EQ(Get(Path()), expected);

    TIniFile single = With(original);
    for (const TIniEntry& e : batch)
        single.WriteString(e.Section, e.Key, e.Value);
    EXPECT_EQ(Get(Path()), expected);

    // No entries: the file is not touched (not even created).
    TIniFile missing(Path("none.ini"));
    missing.WriteStrings({});
    EXPECT_FALSE(QFileInfo::exists(Path("none.ini")));
}

TEST_F(IniFileTest, ManyKeysReadInOnePassAsSingleReadsReadThem)
{
    TIniFile ini = With("[Form1]\ndc1=0\nDD1 = 1 \n[Other]\ndc1=7\n[FORM1]\nde1=\"x\"\ndc1=9\n");
    const QList<std::optional<QString>> values =
        ini.ReadStrings({{S, "dc1"}, {S, "dd1"}, {"other", "DC1"}, {S, "de1"}, {S, "df1"}, {"None", "dc1"}, {S, "dc1"}});
    ASSERT_EQ(values.size(), 7);
    EXPECT_EQ(values[0], QString("0"));
    EXPECT_EQ(values[1], QString("1"));
    EXPECT_EQ(values[2], QString("7"));
    EXPECT_EQ(values[3], QString("x")); // from the second [Form1]
    EXPECT_EQ(values[4], std::nullopt);
    EXPECT_EQ(values[5], std::nullopt);
    EXPECT_EQ(values[6], QString("0"));
    EXPECT_TRUE(ini.ReadStrings({}).isEmpty());
    const QList<std::optional<QString>> none = TIniFile(Path("missing.ini")).ReadStrings({{S, "dc1"}, {S, "dd1"}});
    EXPECT_EQ(none, (QList<std::optional<QString>>{std::nullopt, std::nullopt}));
}

TEST_F(IniFileTest, WritesThatChangeALinesKindLeaveWhatSingleWritesLeave)
{
    // Keys a reader would take for a header, a comment or another key: each
    // is written as a single write writes it, between the others.
    const QByteArray original = "[S]\r\nk=1\r\n; end of S\r\n[T]\r\n \v[x=2\r\n";
    const QList<TIniEntry> batch = {
        {"S", "a", "1"},   // a new key of S
        {"S", "[h", "2"},  // its line reads as the header of a section "h=2"
        {"S", "b", "3"},   // goes before that line: S ends there
        {"S", ";c", "4"},  // a comment line, never found again
        {"S", ";c", "5"},  // so written once more
        {"S", "d=e", "6"}, // a line of the key "d", after the last key line
        {"S", "D", "7"},   // which is that line, keeping the spelling d
        {"T", "[x", "8"},  // found on the line " \v[x=2", which then becomes a header
        {"T", "y", "9"},
    };
    const QByteArray expected = "[S]\r\nk=1\r\na=1\r\nb=3\r\nd=7\r\n;c=5\r\n;c=4\r\n[h=2\r\n; end of S\r\n"
                                "[T]\r\ny=9\r\n[x=8\r\n";
    TIniFile ini = With(original);
    ini.WriteStrings(batch);
    EXPECT_EQ(Get(Path()), expected);
    TIniFile single = With(original);
    for (const TIniEntry& e : batch)
        single.WriteString(e.Section, e.Key, e.Value);
    EXPECT_EQ(Get(Path()), expected);
}

TEST_F(IniFileTest, SectionsAddedByABatchAreFoundByItsLaterWrites)
{
    TIniFile ini = With("[S]\nk=1"); // no final line end
    ini.WriteStrings({{"New", "a", "1"}, {"NEW", "b", "2"}, {"new", "A", "3"}, {"s", "j", "4"}, {"S", "k", "5"}});
    EXPECT_EQ(Get(Path()), "[S]\nk=5\nj=4\n[New]\na=3\nb=2\n");

    // A file of one line without line end takes its line end style from
    // that line once the first write has ended it.
    ini = With("[S]\r");
    ini.WriteStrings({{"S", "a", "1"}, {"S", "b", "2"}, {"T", "c", "3"}});
    EXPECT_EQ(Get(Path()), "[S]\r\na=1\nb=2\r\n[T]\r\nc=3\r\n");

    // A last key line ending in a lone CR: once a CRLF follows it, that CR
    // is part of the line's text, which a later write replaces.
    ini = With("[S]\r\nk=1\r");
    ini.WriteStrings({{"S", "j", "1"}, {"S", "k", "2"}});
    EXPECT_EQ(Get(Path()), "[S]\r\nk=2\r\nj=1\r\n");
    ini = With("[S]\r\nk=1\r");
    ini.WriteStrings({{"S", "k", "2"}, {"S", "j", "1"}});
    EXPECT_EQ(Get(Path()), "[S]\r\nk=2\r\r\nj=1\r\n");
}

TEST_F(IniFileTest, AFileNamedThroughALinkIsWrittenWhereTheLinkPoints)
{
    ASSERT_TRUE(QDir(dir_.path()).mkpath("elsewhere"));
    const QString target = Path("elsewhere/real.ini");
    Put(target, "; mine\n[Form1]\ndc1=1\n");
    // A link with a relative target, reached through a second link.
    ASSERT_EQ(::symlink("elsewhere/real.ini", QFile::encodeName(Path("first.ini")).constData()), 0);
    ASSERT_TRUE(QFile::link(Path("first.ini"), Path()));
    TIniFile ini(Path());
    EXPECT_FALSE(ini.ReadBool(S, "dd1", false));
    ini.WriteStrings({{S, "dc1", "0"}, {S, "dd1", "1"}});
    EXPECT_EQ(Get(target), "; mine\n[Form1]\ndc1=0\ndd1=1\n");
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    EXPECT_TRUE(QFileInfo(Path("first.ini")).isSymLink());
    EXPECT_EQ(QDir(dir_.filePath("elsewhere")).entryList(QDir::Files | QDir::Hidden), QStringList{"real.ini"});

    // A dangling link: reads find nothing; a write creates the file it names.
    ASSERT_TRUE(QFile::link(Path("elsewhere/new.ini"), Path("dangling.ini")));
    TIniFile dangling(Path("dangling.ini"));
    EXPECT_EQ(dangling.ReadString(S, "dc1", "-"), "-");
    dangling.WriteBool(S, "dc1", true);
    EXPECT_TRUE(QFileInfo(Path("dangling.ini")).isSymLink());
    EXPECT_EQ(Get(Path("elsewhere/new.ini")), "[Form1]\ndc1=1\n");
    EXPECT_EQ(dangling.ReadString(S, "dc1", "-"), "1");
}

TEST_F(IniFileTest, ALinkThatCannotBeWrittenThroughIsRefusedAndKept)
{
    // Its target's folder is missing.
    ASSERT_TRUE(QFile::link(Path("nowhere/x.ini"), Path()));
    EXPECT_THROW(TIniFile(Path()).WriteBool(S, "dc1", true), EIniFileException);
    EXPECT_EQ(QFileInfo(Path()).symLinkTarget(), Path("nowhere/x.ini"));
    // A loop.
    ASSERT_TRUE(QFile::link(Path("b.ini"), Path("a.ini")));
    ASSERT_TRUE(QFile::link(Path("a.ini"), Path("b.ini")));
    TIniFile loop(Path("a.ini"));
    EXPECT_EQ(loop.ReadInteger(S, "dc1", 5), 5);
    EXPECT_THROW(loop.WriteBool(S, "dc1", true), EIniFileException);
    EXPECT_TRUE(QFileInfo(Path("a.ini")).isSymLink());
    EXPECT_TRUE(QFileInfo(Path("b.ini")).isSymLink());
    // Nothing else was left in the folder: links count as entries here.
    QStringList entries =
        QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"INIVAL.INI", "a.ini", "b.ini"}));
}
