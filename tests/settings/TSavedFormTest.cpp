// The position saver on a small form of its own, on the fake platform with a
// 1024 x 768 screen and a temporary program folder. Forms stay hidden (their
// frame is then their client area) except where minimising and maximising
// need a shown window.
#include <QTest>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>

#include "SettingsTestSupport.h"
#include "platform/IniFiles.h"
#include "settings/TSavedFormUnit.h"
#include "toolkit/Form.h"

using kestrix::test::WriteProtection;

namespace {

struct Window {
    std::unique_ptr<TForm> form;
    TSavedForm* saver = nullptr;
};

// The position saver as the main window has it.
void AsMainWindow(TSavedForm& saver)
{
    saver.setIniFile("kespos.ini");
    saver.setSavedArgs({saPosition});
    saver.setSavedName("Form1");
}

// The window as its layout builds it: "Form1", of the given size at (314, 93),
// with a position saver that `setup` configures before the layout completes
// (and the saver, with AutoLoad, loads).
Window Build(const std::function<void(TSavedForm&)>& setup = AsMainWindow, QSize size = {300, 200})
{
    Window w;
    w.form = std::make_unique<TForm>();
    w.form->setName("Form1");
    w.form->resize(size);
    w.form->move(314, 93);
    w.saver = new TSavedForm(w.form.get());
    w.saver->setName("SavedForm1");
    w.form->RegisterComponent(w.saver);
    if (setup)
        setup(*w.saver);
    w.form->EndLoading();
    return w;
}

void AllArgs(TSavedForm&) {}

class SavedFormTest : public ProgramFolderTest {
protected:
    QString Kespos() const { return InFolder("kespos.ini"); }
};

} // namespace

TEST_F(SavedFormTest, OwnerMustBeAForm)
{
    QObject object;
    QWidget widget;
    for (QObject* owner : {static_cast<QObject*>(nullptr), &object, static_cast<QObject*>(&widget)}) {
        EXPECT_EQ(ErrorOf<Exception>([&] { new TSavedForm(owner); }), "TSavedForm: owner is not a TForm");
    }
    // Nothing was left behind with the owners.
    EXPECT_TRUE(object.children().isEmpty());
    EXPECT_TRUE(widget.children().isEmpty());
}

TEST_F(SavedFormTest, DefaultsAndKeyPrefix)
{
    TForm form;
    form.setName("Form1");
    auto* saver = new TSavedForm(&form);
    EXPECT_TRUE(saver->AutoLoad());
    EXPECT_EQ(saver->SavedArgs(), (TSFSavedArgs{saState, saPosition, saSize}));
    EXPECT_EQ(saver->IniFile(), "Settings.ini");
    EXPECT_EQ(saver->Section(), "Dialog_Positions");
    EXPECT_EQ(saver->SavedName(), "Form1");
    EXPECT_FALSE(saver->CenterForm());
    EXPECT_EQ(saver->KeyPrefix(), "Form11024x768");
    EXPECT_EQ(saver->FileName(), Folder() + "Settings.ini");

    saver->setSavedName("Main");
    EXPECT_EQ(saver->KeyPrefix(), "Main1024x768");
    // A new resolution counts from the next load or save on.
    fake_.Screen = QSize(1280, 1024);
    EXPECT_EQ(saver->KeyPrefix(), "Main1024x768");
    saver->Save();
    EXPECT_EQ(saver->KeyPrefix(), "Main1280x1024");
    fake_.Screen = QSize(800, 600);
    saver->Load();
    EXPECT_EQ(saver->KeyPrefix(), "Main800x600");
}

TEST_F(SavedFormTest, LoadsThePositionOfThisResolution)
{
    Put(Kespos(), "[Dialog_Positions]\n"
                  "Form1800x600Left=5\nForm1800x600Top=6\n"
                  "Form11024x768Left=100\nForm11024x768Top=50\n"
                  "Form11024x768Width=999\n");
    QPoint before, after;
    QObject* sender = nullptr;
    const Window w = Build([&](TSavedForm& s) {
        AsMainWindow(s);
        const QWidget* form = qobject_cast<QWidget*>(s.Owner());
        s.OnBeforeLoad = [&before, &sender, form](QObject* from) {
            before = form->pos();
            sender = from;
        };
        s.OnAfterLoad = [&after, form](QObject*) { after = form->pos(); };
    });
    EXPECT_EQ(w.form->pos(), QPoint(100, 50));
    EXPECT_EQ(w.form->size(), QSize(300, 200)); // the size is not the main window's to load
    EXPECT_EQ(before, QPoint(314, 93));
    EXPECT_EQ(after, QPoint(100, 50));
    EXPECT_EQ(sender, w.saver);
}

TEST_F(SavedFormTest, MissingKeysOrNoIntegerKeepTheDefaults)
{
    {
        SCOPED_TRACE("no file");
        const Window w = Build();
        EXPECT_EQ(w.form->pos(), QPoint(314, 93));
        EXPECT_FALSE(QFile::exists(Kespos())); // loading creates nothing
    }
    {
        SCOPED_TRACE("a Left that is no integer");
        Put(Kespos(), "[Dialog_Positions]\nForm11024x768Left=abc\nForm11024x768Top=50\n");
        const Window w = Build();
        EXPECT_EQ(w.form->pos(), QPoint(314, 50));
    }
    {
        SCOPED_TRACE("centred by default: (1024 - 686) / 2, (768 - 315) / 2");
        QFile::remove(Kespos());
        const auto centred = [](TSavedForm& s) {
            AsMainWindow(s);
            s.setCenterForm(true);
        };
        const Window w = Build(centred, QSize(686, 315));
        EXPECT_EQ(w.form->pos(), QPoint(169, 226));
        Put(Kespos(), "[Dialog_Positions]\nForm11024x768Top=10\n");
        const Window top = Build(centred, QSize(686, 315));
        EXPECT_EQ(top.form->pos(), QPoint(169, 10));
    }
}

TEST_F(SavedFormTest, SizeAndState)
{
    const QString settings = InFolder("Settings.ini");
    Put(settings, "[Dialog_Positions]\nForm11024x768Left=20\nForm11024x768Top=30\n"
                  "Form11024x768Width=500\nForm11024x768Height=400\nForm11024x768State=0\n");
    Window w = Build(AllArgs);
    EXPECT_EQ(w.form->geometry(), QRect(20, 30, 500, 400));
    EXPECT_EQ(w.form->WindowState(), TWindowState::wsNormal);

    Put(settings, "[Dialog_Positions]\nForm11024x768State=2\n");
    EXPECT_EQ(Build(AllArgs).form->WindowState(), TWindowState::wsMaximized);
    Put(settings, "[Dialog_Positions]\nForm11024x768State=1\n");
    EXPECT_EQ(Build(AllArgs).form->WindowState(), TWindowState::wsMinimized);
    Put(settings, "[Dialog_Positions]\nForm11024x768State=7\n");
    EXPECT_EQ(Build(AllArgs).form->WindowState(), TWindowState::wsNormal);

    // Sizes are restored as read, also one larger than the window had.
    Put(settings, "[Dialog_Positions]\nForm11024x768Width=1000\nForm11024x768Height=700\n");
    EXPECT_EQ(Build(AllArgs).form->geometry(), QRect(314, 93, 1000, 700));

    // No window at all, or one of gigapixels, is not taken from the file: a
    // size beyond the screen is cut to the screen. The window is put on the
    // screen once it is active: frame (2 pixels each side) at the corner.
    Put(settings, "[Dialog_Positions]\nForm11024x768Width=0\nForm11024x768Height=-5\n");
    EXPECT_EQ(Build(AllArgs).form->geometry(), QRect(314, 93, 300, 200));
    Put(settings, "[Dialog_Positions]\nForm11024x768Width=100000\nForm11024x768Height=100000\n");
    w = Build(AllArgs);
    EXPECT_EQ(w.form->geometry(), QRect(314, 93, 1024, 768));
    w.form->show();
    w.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    QTest::qWait(10);
    EXPECT_EQ(w.form->pos(), QPoint(0, 0));
    EXPECT_EQ(w.form->size(), QSize(1024, 768));
}

// Shown on the offscreen platform, a window has a frame of 2 pixels on each
// side: a 300 x 200 window is 304 x 204 with its frame, and on 1024 x 768
// it may stand at left 0..720, top 0..564.
TEST_F(SavedFormTest, FarOffPositionsArePulledOntoTheScreenOnceTheWindowIsActive)
{
    struct Case {
        const char* left;
        const char* top;
        QSize size;
        QPoint loaded; // before the first activation: as read, a corner off the screen at its edge
        QPoint shown;  // after it: fully on the screen
    };
    const Case cases[] = {
        {"100", "100", {300, 200}, {100, 100}, {100, 100}},   // fully visible: stays
        {"720", "564", {300, 200}, {720, 564}, {720, 564}},   // just fits
        {"721", "565", {300, 200}, {721, 565}, {720, 564}},
        {"5000", "-300", {300, 200}, {1023, 0}, {720, 0}},    // saved on a larger screen
        {"-10", "700", {300, 200}, {0, 700}, {0, 564}},
        {"2147483647", "-2147483648", {300, 200}, {1023, 0}, {720, 0}},
        {"50", "40", {1100, 200}, {50, 40}, {0, 40}},         // wider than the screen
        {"50", "40", {1100, 900}, {50, 40}, {0, 0}},          // larger than the screen
        {"50", "40", {1020, 764}, {50, 40}, {0, 0}},          // as large as the screen with its frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.left) + ", " + c.top);
        Put(Kespos(), QByteArray("[Dialog_Positions]\nForm11024x768Left=") + c.left + "\nForm11024x768Top=" + c.top + "\n");
        const Window w = Build(AsMainWindow, c.size);
        EXPECT_EQ(w.form->pos(), c.loaded);
        EXPECT_TRUE(w.saver->OnScreenCheckPending());
        w.form->show();
        w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
        QTest::qWait(10);
        EXPECT_FALSE(w.saver->OnScreenCheckPending());
        EXPECT_EQ(w.form->pos(), c.shown);
        EXPECT_EQ(w.form->size(), c.size);
    }
}

// The main window is built 315 high and takes the height of its rows at its
// first activation: the saved place is judged with that height, not with 315.
TEST_F(SavedFormTest, SavedPlaceIsJudgedWithTheHeightOfTheFirstActivation)
{
    struct Case {
        const char* top;
        int activeHeight; // the window's height once its activation handler ran
        int shownTop;     // the top of its frame then
    };
    const Case cases[] = {
        // Drives C and D: 229 high (233 with the frame); 500 + 233 = 733 fits.
        {"500", 229, 500},
        // 20 drives: 589 high (593 with the frame); 453 + 593 runs 278 past
        // the bottom of the screen: up to 768 - 593 = 175.
        {"453", 589, 175},
        {"2147483647", 589, 175},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.top);
        Put(Kespos(), QByteArray("[Dialog_Positions]\nForm11024x768Left=300\nForm11024x768Top=") + c.top + "\n");
        const Window w = Build(AsMainWindow, QSize(686, 315));
        EXPECT_EQ(w.form->pos(), QPoint(300, std::min(767, QByteArray(c.top).toInt())));
        w.form->OnActivate = [&](QObject*) { w.form->resize(686, c.activeHeight); };
        w.form->show();
        w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
        QTest::qWait(10);
        EXPECT_EQ(w.form->pos(), QPoint(300, c.shownTop));
        // The place it is at is the place saved.
        w.saver->Save();
        EXPECT_EQ(Get(Kespos()), "[Dialog_Positions]\nForm11024x768Left=300\nForm11024x768Top="
                                     + QByteArray::number(c.shownTop) + "\n");
    }
}

// A window shown already has its size: a load puts it on the screen at once.
TEST_F(SavedFormTest, LoadIntoAShownWindowPullsItOntoTheScreenAtOnce)
{
    const Window w = Build([](TSavedForm& s) {
        AsMainWindow(s);
        s.setAutoLoad(false);
    });
    w.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
    Put(Kespos(), "[Dialog_Positions]\nForm11024x768Left=900\nForm11024x768Top=10\n");
    w.saver->Load();
    EXPECT_FALSE(w.saver->OnScreenCheckPending());
    EXPECT_EQ(w.form->pos(), QPoint(720, 10));
}

TEST_F(SavedFormTest, SaveWritesThisResolutionAndKeepsEverythingElse)
{
    Put(Kespos(), "[Other]\nk=v\n[Dialog_Positions]\nForm1800x600Left=5\nForm1800x600Top=6\n");
    const Window w = Build();
    w.form->move(120, 80);
    w.saver->SaveRequest();
    EXPECT_EQ(Get(Kespos()), "[Other]\nk=v\n[Dialog_Positions]\nForm1800x600Left=5\nForm1800x600Top=6\n"
                             "Form11024x768Left=120\nForm11024x768Top=80\n");

    const Window all = Build(AllArgs);
    all.form->setGeometry(10, 20, 640, 480);
    all.saver->Save();
    EXPECT_EQ(Get(InFolder("Settings.ini")), "[Dialog_Positions]\nForm11024x768Left=10\nForm11024x768Top=20\n"
                                             "Form11024x768Width=640\nForm11024x768Height=480\n"
                                             "Form11024x768State=0\n");
}

TEST_F(SavedFormTest, EachResolutionKeepsItsOwnPlace)
{
    {
        const Window w = Build();
        w.form->move(100, 50);
        w.saver->SaveRequest();
    }
    fake_.Screen = QSize(800, 600);
    {
        const Window w = Build();
        EXPECT_EQ(w.form->pos(), QPoint(314, 93)); // the layout's place
        w.form->move(20, 30);
        w.saver->SaveRequest();
    }
    EXPECT_EQ(Get(Kespos()), "[Dialog_Positions]\nForm11024x768Left=100\nForm11024x768Top=50\n"
                             "Form1800x600Left=20\nForm1800x600Top=30\n");
    fake_.Screen = QSize(1024, 768);
    EXPECT_EQ(Build().form->pos(), QPoint(100, 50));
}

TEST_F(SavedFormTest, RequestsAskTheirHandlers)
{
    Put(Kespos(), "[Dialog_Positions]\nForm11024x768Left=100\nForm11024x768Top=50\n");
    QObject* asker = nullptr;
    bool offered = false;
    const Window refused = Build([&](TSavedForm& s) {
        AsMainWindow(s);
        s.OnLoadRequest = [&](QObject* sender, bool& execute) {
            asker = sender;
            offered = execute;
            execute = false;
        };
    });
    EXPECT_EQ(asker, refused.saver);
    EXPECT_TRUE(offered);
    EXPECT_EQ(refused.form->pos(), QPoint(314, 93));

    const Window manual = Build([](TSavedForm& s) {
        AsMainWindow(s);
        s.setAutoLoad(false);
    });
    EXPECT_EQ(manual.form->pos(), QPoint(314, 93));
    manual.saver->LoadRequest();
    EXPECT_EQ(manual.form->pos(), QPoint(100, 50));

    ASSERT_TRUE(QFile::remove(Kespos()));
    manual.saver->OnSaveRequest = [](QObject*, bool& execute) { execute = false; };
    manual.saver->SaveRequest();
    EXPECT_FALSE(QFile::exists(Kespos()));
    manual.saver->OnSaveRequest = [](QObject*, bool&) {};
    manual.saver->SaveRequest();
    EXPECT_EQ(Get(Kespos()), "[Dialog_Positions]\nForm11024x768Left=100\nForm11024x768Top=50\n");
}

TEST_F(SavedFormTest, MissingFolderIsReportedBeforeAnyFileIsTouched)
{
    const auto inMissingFolder = [](TSavedForm& s) {
        AsMainWindow(s);
        s.setIniFile("missing/kespos.ini");
    };
    const QString message = "TSavedForm: folder for ini file does not exist";
    // The load when the layout is complete.
    EXPECT_EQ(ErrorOf<Exception>([&] { Build(inMissingFolder); }), message);

    const Window w = Build([&](TSavedForm& s) {
        inMissingFolder(s);
        s.setAutoLoad(false);
    });
    bool afterLoad = false;
    w.saver->OnAfterLoad = [&](QObject*) { afterLoad = true; };
    EXPECT_EQ(ErrorOf<Exception>([&] { w.saver->Load(); }), message);
    EXPECT_EQ(ErrorOf<Exception>([&] { w.saver->Save(); }), message);
    EXPECT_FALSE(afterLoad);
    EXPECT_EQ(FolderEntries(), QStringList{});

    // An ini file handed in is used as it is.
    Put(InFolder("elsewhere.ini"), "[Dialog_Positions]\nForm11024x768Left=1\nForm11024x768Top=2\n");
    TIniFile given(InFolder("elsewhere.ini"));
    w.saver->Load(&given);
    EXPECT_EQ(w.form->pos(), QPoint(1, 2));
}

TEST_F(SavedFormTest, InstalledCopyLoadsFromAMissingProgramFolderAndMakesItAtTheSave)
{
    UseInstalledCopy();
    const Window w = Build();
    EXPECT_EQ(w.form->pos(), QPoint(314, 93));
    EXPECT_FALSE(QDir(Folder()).exists());
    w.form->move(40, 30);
    w.saver->Save();
    EXPECT_EQ(Get(Kespos()), "[Dialog_Positions]\nForm11024x768Left=40\nForm11024x768Top=30\n");

    // A folder of its own below the program folder must still be there.
    const Window sub = Build([](TSavedForm& s) {
        AsMainWindow(s);
        s.setIniFile("positions/kespos.ini");
        s.setAutoLoad(false);
    });
    EXPECT_EQ(ErrorOf<Exception>([&] { sub.saver->Save(); }), "TSavedForm: folder for ini file does not exist");
}

TEST_F(SavedFormTest, RefusedWriteKeepsTheFile)
{
    const QByteArray original = "[Dialog_Positions]\nForm1800x600Left=5\n";
    Put(Kespos(), original);
    const Window w = Build();
    WriteProtection protection(Kespos());
    if (!protection.Active())
        GTEST_SKIP() << WriteProtection::SkipReason();
    EXPECT_EQ(ErrorOf<EIniFileException>([&] { w.saver->SaveRequest(); }), "Unable to write to " + Kespos());
    protection.Lift();
    EXPECT_EQ(Get(Kespos()), original);
    EXPECT_EQ(FolderEntries(), QStringList{"kespos.ini"});
}

// On the offscreen platform a shown window gets a frame of 2 pixels each
// side, and minimising or maximising changes only its state and geometry:
// enough to see that the normal (restored) place is saved as the frame
// position move() took.
TEST_F(SavedFormTest, MinimisedOrMaximisedWindowSavesItsRestoredPlace)
{
    const Window w = Build(AllArgs);
    w.form->setGeometry(0, 0, 300, 200);
    w.form->move(200, 150);
    w.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
    const QString settings = InFolder("Settings.ini");
    const auto saved = [&](int state) {
        return "[Dialog_Positions]\nForm11024x768Left=200\nForm11024x768Top=150\n"
               "Form11024x768Width=300\nForm11024x768Height=200\nForm11024x768State="
               + QByteArray::number(state) + "\n";
    };

    // Each change of state is let through the event loop, as a user's would be.
    w.form->showMinimized();
    QTest::qWait(20);
    w.saver->Save();
    EXPECT_EQ(Get(settings), saved(1));

    w.form->showNormal();
    QTest::qWait(20);
    w.form->showMaximized();
    QTest::qWait(20);
    ASSERT_NE(w.form->pos(), QPoint(200, 150)) << "the window did not move when maximised";
    w.saver->Save();
    EXPECT_EQ(Get(settings), saved(2));

    // Minimised from maximised: restored, it is maximised again; its normal
    // place is still the one it had.
    w.form->showMinimized();
    QTest::qWait(20);
    ASSERT_TRUE(w.form->isMaximized());
    w.saver->Save();
    EXPECT_EQ(Get(settings), saved(1));

    // The next start puts it there.
    Put(settings, saved(0));
    EXPECT_EQ(Build(AllArgs).form->geometry(), QRect(200, 150, 300, 200));
}
