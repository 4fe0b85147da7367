// The settings store on a small form of its own: menu items and actions with
// check marks, and a few components with Text and Value properties, saved to
// and restored from INIVAL.INI in a temporary program folder.
#include <QSignalSpy>
#include <random>

#include "SettingsTestSupport.h"
#include "platform/IniFiles.h"
#include "settings/IniVal.h"
#include "toolkit/Action.h"
#include "toolkit/Form.h"
#include "toolkit/MenuItem.h"

using kestrix::test::WriteProtection;

namespace {

// Components with the other properties the store saves or must leave alone.
class TextField : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
public:
    using QObject::QObject;
    QString Text() const { return text; }
    void setText(const QString& t) { text = t; }
    QString text = QStringLiteral("layout");
};

class Counter : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE setValue)
public:
    using QObject::QObject;
    int Value() const { return value; }
    void setValue(int v)
    {
        value = v;
        ++writes; // one per load
    }
    int value = 5;
    int writes = 0;
};

class Person : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Value READ Value WRITE setValue)
public:
    using QObject::QObject;
    QString Value() const { return value; }
    void setValue(const QString& v) { value = v; }
    QString value = QStringLiteral("nobody");
};

// Like an LED: a boolean Value is not saved.
class Lamp : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Value READ Value WRITE setValue)
public:
    using QObject::QObject;
    bool Value() const { return value; }
    void setValue(bool v) { value = v; }
    bool value = true;
};

// Text and Checked under one key: the last one written wins.
class TextAndCheck : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool Checked READ Checked WRITE setChecked)
public:
    using QObject::QObject;
    QString Text() const { return text; }
    void setText(const QString& t) { text = t; }
    bool Checked() const { return checked; }
    void setChecked(bool c) { checked = c; }
    QString text = QStringLiteral("x");
    bool checked = false;
};

// A check mark that cannot be set is not saved.
class FixedCheck : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked)
public:
    using QObject::QObject;
    bool Checked() const { return true; }
};

const char* const kDrives[] = {"dc1", "dd1", "de1", "df1", "dg1", "dh1", "di1", "dj1", "dk1"};

// The form as its layout builds it: nine drive flags ticked, scheme Cs0
// ticked, the rest unticked; Counter 5, Person "nobody", text "layout".
class SettingsForm : public TForm {
public:
    SettingsForm()
    {
        setName(QStringLiteral("Form1"));
        for (const char* name : kDrives)
            AddItem(name, true);
        AddItem("Cs0", true);
        AddItem("Cs1", false);
        AddItem("Cs2", false);
        AddItem("StayonTop1", false);
        AddItem("N1", false)->setCaption(QStringLiteral("-"));
        for (const char* name : {"BView", "KBView", "MBView"})
            Add<TAction>(name);
        Caption1 = Add<TextField>("Caption1");
        Count = Add<Counter>("Count");
        Who = Add<Person>("Who");
        Led = Add<Lamp>("Led");
        Both = Add<TextAndCheck>("Both");
        Add<FixedCheck>("Fixed");
        Nameless = AddItem("", true);
        IniVal = Add<TIniVal>("IniVal");
    }
    // The main window hands an error of its destruction to the application;
    // here it fails the test.
    ~SettingsForm() override
    {
        try {
            DoDestroy();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "save at destruction: " << e.what();
        }
    }

    bool Checked(const char* name) const { return FindComponent(name)->property("Checked").toBool(); }
    void SetChecked(const char* name, bool on) { FindComponent(name)->setProperty("Checked", on); }
    TAction* Action(const char* name) const { return qobject_cast<TAction*>(FindComponent(name)); }

    // Every value the store might touch, one "name=value" each, to compare
    // with the layout.
    QStringList Values() const
    {
        QStringList list;
        for (QObject* c : Components())
            for (const char* p : {"Checked", "Text", "Value"})
                if (c->metaObject()->indexOfProperty(p) >= 0)
                    list << c->objectName() + QLatin1Char('.') + p + QLatin1Char('=') + c->property(p).toString();
        return list;
    }

    TextField* Caption1;
    Counter* Count;
    Person* Who;
    Lamp* Led;
    TextAndCheck* Both;
    TMenuItem* Nameless;
    TIniVal* IniVal;

private:
    template <typename T>
    T* Add(const char* name)
    {
        auto* c = new T(this);
        c->setObjectName(QLatin1String(name));
        RegisterComponent(c);
        return c;
    }
    TMenuItem* AddItem(const char* name, bool checked)
    {
        auto* item = Add<TMenuItem>(name);
        item->setChecked(checked);
        return item;
    }
};

class IniValTest : public ProgramFolderTest {
protected:
    // Files here are written in the program folder, as INIVAL.INI unless named.
    QString Settings() const { return InFolder(QStringLiteral("INIVAL.INI")); }
};

} // namespace

TEST(IniValName, EffectiveFileName)
{
    TIniVal store;
    const std::pair<QString, QString> cases[] = {
        // Trimmed of blanks and control characters, ".INI" appended.
        {" \t/opt/kestrix/IniVal\r\n", "/opt/kestrix/INIVAL.INI"},
        // The folder keeps its case; only ASCII letters of the name change.
        {"/home/Ann/Apps/iniVal", "/home/Ann/Apps/INIVAL.INI"},
        {QString::fromUtf8("/x/réglages"), QString::fromUtf8("/x/RéGLAGES.INI")},
        // A "." anywhere, in the folder too, means no extension is added.
        {"/opt/Kestrix 4.0/IniVal", "/opt/Kestrix 4.0/INIVAL"},
        {"/opt/kestrix/my.cfg", "/opt/kestrix/MY.CFG"},
        {"settings", "SETTINGS.INI"},
    };
    for (const auto& [name, effective] : cases) {
        store.setIniFileName(name);
        EXPECT_EQ(store.EffectiveFileName(), effective) << name.toStdString();
        EXPECT_EQ(store.IniFileName(), name); // setting it stores the text as given
    }
}

TEST_F(IniValTest, DefaultFileIsINIVALDotINIInTheProgramFolder)
{
    ASSERT_FALSE(Folder().contains('.')) << "the temporary folder must not contain a '.' for this test";
    SettingsForm form;
    EXPECT_TRUE(form.IniVal->Automatic());
    EXPECT_EQ(form.IniVal->IniFileName(), "");
    form.DoCreate();
    EXPECT_EQ(form.IniVal->IniFileName(), Folder() + "IniVal");
    EXPECT_EQ(form.IniVal->EffectiveFileName(), Settings());
    form.IniVal->Save();
    EXPECT_EQ(FolderEntries(), QStringList{"INIVAL.INI"});

    // A name set by the layout is kept.
    SettingsForm other;
    other.IniVal->setIniFileName(Folder() + "custom.cfg");
    other.DoCreate();
    EXPECT_EQ(other.IniVal->EffectiveFileName(), Folder() + "CUSTOM.CFG");
}

TEST_F(IniValTest, LoadReadsEachKeyByTheWindowsRules)
{
    Put(Settings(), "[Form2]\n"
                    "dg1=0\n"                    // another form's section
                    "[FORM1]\n"
                    "DC1=0\n"                    // names in other case
                    "dk1=0x0\n"
                    "dd1=yes\n"                  // no integer: unchanged
                    "Cs2=yes\n"
                    "Cs1=$1\n"
                    "StayonTop1=-1\n"
                    "KBView=  1  \n"             // blanks around a value do not count
                    "df1=\n"
                    "BView=" + QByteArray(100000, '1') + "\n"  // 2047 ones: no 32-bit integer
                    "de1=" + QByteArray(100000, '0') + "\n"    // 2047 zeros: 0
                    "Caption1=" + QByteArray(100000, 'a') + "\n"
                    "Count=$10\n"
                    "Who=\"  someone  \"\n"
                    "Led=0\n"
                    "Both=1\n"
                    "Fixed=0\n"
                    "=0\n");
    SettingsForm form;
    QSignalSpy kbView(form.Action("KBView"), &TAction::CheckedChanged);
    form.DoCreate();

    EXPECT_FALSE(form.Checked("dc1"));
    EXPECT_FALSE(form.Checked("dk1"));
    EXPECT_TRUE(form.Checked("dd1"));
    EXPECT_FALSE(form.Checked("Cs2"));
    EXPECT_TRUE(form.Checked("Cs1"));
    EXPECT_TRUE(form.Checked("StayonTop1"));
    EXPECT_TRUE(form.Checked("KBView"));
    EXPECT_TRUE(form.Checked("df1"));
    EXPECT_FALSE(form.Checked("BView"));
    EXPECT_FALSE(form.Checked("de1"));
    EXPECT_TRUE(form.Checked("dg1"));
    EXPECT_FALSE(form.Checked("MBView")); // no key
    EXPECT_TRUE(form.Checked("Cs0"));
    EXPECT_EQ(form.Caption1->text, QString(2047, 'a'));
    EXPECT_EQ(form.Count->value, 16);
    EXPECT_EQ(form.Who->value, "  someone  ");
    EXPECT_TRUE(form.Led->value);
    EXPECT_EQ(form.Both->text, "1");
    EXPECT_TRUE(form.Both->checked);
    EXPECT_TRUE(form.Nameless->Checked());
    // The action told its clients, once.
    ASSERT_EQ(kbView.count(), 1);
    EXPECT_EQ(kbView.at(0).at(0).toBool(), true);

    // A number that is no integer leaves the number.
    Put(Settings(), "[Form1]\nCount=12abc\n");
    form.IniVal->Load();
    EXPECT_EQ(form.Count->value, 16);
}

TEST_F(IniValTest, MissingEmptyOrDamagedFilesLeaveTheLayout)
{
    const QStringList layout = SettingsForm().Values();

    std::mt19937 random(4711);
    QByteArray garbage(64 * 1024, '\0');
    for (char& c : garbage)
        c = char(random() & 0xFF);

    const std::pair<const char*, QByteArray> files[] = {
        {"empty", ""},
        {"garbage", garbage},
        {"other sections only", "[Form2]\ndc1=0\n"},
    };
    {
        SCOPED_TRACE("missing");
        SettingsForm form;
        form.DoCreate();
        EXPECT_EQ(form.Values(), layout);
    }
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        Put(Settings(), bytes);
        SettingsForm form;
        form.DoCreate();
        EXPECT_EQ(form.Values(), layout);
    }
    {
        SCOPED_TRACE("a folder in the file's place");
        QFile::remove(Settings());
        ASSERT_TRUE(QDir(Folder()).mkdir("INIVAL.INI"));
        SettingsForm form;
        form.DoCreate();
        EXPECT_EQ(form.Values(), layout);
        form.IniVal->setAutomatic(false); // nothing to save into a folder
    }

    // A save into the garbage keeps it and is found again.
    QDir(Folder()).rmdir("INIVAL.INI");
    Put(Settings(), garbage);
    {
        SettingsForm form;
        form.DoCreate();
        form.SetChecked("dc1", false);
    } // saved at destruction
    EXPECT_TRUE(Get(Settings()).startsWith(garbage));
    SettingsForm again;
    again.DoCreate();
    EXPECT_FALSE(again.Checked("dc1"));
}

TEST_F(IniValTest, SaveWritesEveryKeyInListOrderAndKeepsTheRest)
{
    Put(Settings(), "; kestrix settings\n"
                    "[Other]\n"
                    "dc1=1\n"
                    "[form1]\n"
                    "DC1=1\n"
                    "Foreign=kept\n"
                    "[Form1 Extra]\n"
                    "x=y\n");
    SettingsForm form;
    form.DoCreate();
    form.SetChecked("dc1", false);
    form.SetChecked("Cs0", false);
    form.SetChecked("Cs1", true);
    form.Caption1->text = "typed";
    form.Count->value = -42;
    form.Who->value = "someone";
    form.Both->text = "hello";
    form.Both->checked = true;
    form.IniVal->Save();

    EXPECT_EQ(Get(Settings()), "; kestrix settings\n"
                               "[Other]\n"
                               "dc1=1\n"
                               "[form1]\n"
                               "DC1=0\n"
                               "Foreign=kept\n"
                               "dd1=1\nde1=1\ndf1=1\ndg1=1\ndh1=1\ndi1=1\ndj1=1\ndk1=1\n"
                               "Cs0=0\nCs1=1\nCs2=0\nStayonTop1=0\nN1=0\n"
                               "BView=0\nKBView=0\nMBView=0\n"
                               "Caption1=typed\n"
                               "Count=-42\n"
                               "Who=someone\n"
                               "Both=1\n"
                               "[Form1 Extra]\n"
                               "x=y\n");

    // Deleting the file brings back the layout on the next start.
    const QStringList layout = SettingsForm().Values();
    SettingsForm changed;
    changed.DoCreate();
    EXPECT_NE(changed.Values(), layout);
    changed.IniVal->setAutomatic(false);
    ASSERT_TRUE(QFile::remove(Settings()));
    SettingsForm fresh;
    fresh.DoCreate();
    EXPECT_EQ(fresh.Values(), layout);
}

TEST_F(IniValTest, ChainedAroundTheFormsCreationAndDestruction)
{
    Put(Settings(), "[Form1]\ndc1=0\nCount=7\n");
    SettingsForm form;
    QObject* createdBy = nullptr;
    QObject* destroyedBy = nullptr;
    int creations = 0;
    bool dc1InCreation = false;
    QByteArray fileInDestruction;
    form.OnCreate = [&](QObject* sender) {
        createdBy = sender;
        dc1InCreation = form.Checked("dc1");
        ++creations;
    };
    form.OnDestroy = [&](QObject* sender) {
        destroyedBy = sender;
        fileInDestruction = Get(Settings());
    };

    form.DoCreate();
    // The form's handler ran first, with the store as sender; the load after it.
    EXPECT_EQ(createdBy, form.IniVal);
    EXPECT_EQ(creations, 1);
    EXPECT_TRUE(dc1InCreation);
    EXPECT_FALSE(form.Checked("dc1"));
    EXPECT_EQ(form.Count->writes, 1);

    // Loaded once more: not chained a second time, so one creation event
    // still runs the form's handler once and loads once.
    form.IniVal->Loaded();
    form.OnCreate(&form);
    EXPECT_EQ(creations, 2);
    EXPECT_EQ(form.Count->writes, 2);

    // The save comes before the form's own destruction handler.
    form.SetChecked("dc1", true);
    form.DoDestroy();
    EXPECT_EQ(destroyedBy, form.IniVal);
    EXPECT_TRUE(fileInDestruction.startsWith("[Form1]\ndc1=1\nCount=7\n")) << fileInDestruction.toStdString();
}

TEST_F(IniValTest, NotChainedWhenNotAutomatic)
{
    Put(Settings(), "[Form1]\ndc1=0\n");
    SettingsForm form;
    form.IniVal->setAutomatic(false);
    QObject* createdBy = nullptr;
    form.OnCreate = [&](QObject* sender) { createdBy = sender; };
    form.DoCreate();
    EXPECT_EQ(createdBy, &form);
    EXPECT_TRUE(form.Checked("dc1"));
    EXPECT_EQ(form.IniVal->IniFileName(), Folder() + "IniVal"); // the name is filled in all the same
    form.DoDestroy();
    EXPECT_EQ(Get(Settings()), "[Form1]\ndc1=0\n");
}

TEST_F(IniValTest, StoreFreedBeforeTheFormPassesTheEventsOn)
{
    SettingsForm form;
    QObject* destroyedBy = nullptr;
    form.OnDestroy = [&](QObject* sender) { destroyedBy = sender; };
    form.DoCreate();
    delete form.IniVal;
    form.DoDestroy();
    EXPECT_EQ(destroyedBy, &form);
    EXPECT_EQ(FolderEntries(), QStringList{});
}

TEST_F(IniValTest, ProgramFolderWithADotGivesAFileWithoutExtension)
{
    UseProgramFolder("Kestrix 4.0");
    {
        SettingsForm form;
        form.DoCreate();
        EXPECT_EQ(form.IniVal->EffectiveFileName(), Folder() + "INIVAL");
        form.SetChecked("dc1", false);
        form.SetChecked("StayonTop1", true);
    }
    EXPECT_EQ(FolderEntries(), QStringList{"INIVAL"});
    EXPECT_TRUE(Get(InFolder("INIVAL")).startsWith("[Form1]\ndc1=0\n"));
    SettingsForm next;
    next.DoCreate();
    EXPECT_FALSE(next.Checked("dc1"));
    EXPECT_TRUE(next.Checked("StayonTop1"));
}

TEST_F(IniValTest, InstalledCopyKeepsINIVALDotINIInAConfigurationFolderMadeAtTheFirstSave)
{
    UseInstalledCopy();
    ASSERT_TRUE(Folder().contains("/.config/"));
    {
        SettingsForm form;
        form.DoCreate();
        // The dot of ".config" does not take the extension away.
        EXPECT_EQ(form.IniVal->EffectiveFileName(), Folder() + "INIVAL.INI");
        // Loading from the missing folder keeps the layout and makes nothing.
        EXPECT_TRUE(form.Checked("dc1"));
        EXPECT_FALSE(QDir(Folder()).exists());
        form.SetChecked("dc1", false);
    }
    EXPECT_EQ(FolderEntries(), QStringList{"INIVAL.INI"});
    EXPECT_TRUE(Get(Settings()).startsWith("[Form1]\ndc1=0\n"));
    EXPECT_EQ(QDir(fake_.ExeFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    SettingsForm next;
    next.DoCreate();
    EXPECT_FALSE(next.Checked("dc1"));
}

TEST_F(IniValTest, RefusedSaveReportsTheFileAndLosesNothing)
{
    const QByteArray original = "[Form1]\ndc1=1\n[Other]\nk=v\n";
    Put(Settings(), original);
    SettingsForm form;
    bool formHandlerRan = false;
    form.OnDestroy = [&](QObject*) { formHandlerRan = true; };
    form.DoCreate();
    form.SetChecked("dc1", false);
    {
        WriteProtection protection(Settings());
        if (!protection.Active())
            GTEST_SKIP() << WriteProtection::SkipReason();
        EXPECT_EQ(ErrorOf<EIniFileException>([&] { form.DoDestroy(); }), "Unable to write to " + Settings());
    }
    // The form's own clean-up ran all the same; the file is as it was.
    EXPECT_TRUE(formHandlerRan);
    EXPECT_EQ(Get(Settings()), original);
    EXPECT_EQ(FolderEntries(), QStringList{"INIVAL.INI"});
}

TEST_F(IniValTest, ReadOnlyFolderRefusesTheSave)
{
    SettingsForm form;
    form.DoCreate();
    WriteProtection protection(Folder());
    if (!protection.Active())
        GTEST_SKIP() << WriteProtection::SkipReason();
    EXPECT_EQ(ErrorOf<EIniFileException>([&] { form.IniVal->Save(); }), "Unable to write to " + Settings());
    protection.Lift();
    EXPECT_EQ(FolderEntries(), QStringList{});
    form.IniVal->setAutomatic(false);
}

#include "IniValTest.moc"
