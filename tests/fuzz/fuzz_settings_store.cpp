// The settings store loading any INIVAL.INI into the main window, and the
// position saver loading the same bytes as kespos.ini. The window is built
// once, on the Fake platform (drives C to F, a 1024 x 768 screen, the
// program folder a scratch folder); the input is the file.
//
// Properties:
// - every check mark is what a read of its key gives (the file's integer,
//   non-zero for set), or what it was where the file has no integer;
// - a second load changes nothing;
// - the window then reloads: every flagged drive's row shows, exactly one
//   unit flag is set and one unit button down;
// - a save keeps every line of the file that is not one of the window's
//   keys, and each key then reads back its check mark;
// - the saved position puts the window's corner on the screen (the whole
//   window once its first activation has judged it).
#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <cstdlib>
#include <map>
#include <memory>

#include "FuzzSupport.h"
#include "app/STSMain.h"
#include "platform/FakePlatform.h"
#include "platform/IniFiles.h"
#include "toolkit/Application.h"
#include "toolkit/Fonts.h"

using namespace kestrix::fuzz;

namespace {

struct Window {
    Window()
    {
        fake.Folder = ScratchFolder() + "/";
        for (char c : {'C', 'D', 'E', 'F'})
            fake.AddDrive(c, DRIVE_FIXED, (c - 'B') * 1000000000LL, (c - 'B') * 300000000LL);
        Application().ShowError = [this](const QString& text) { errors << text; };
        form = std::make_unique<TForm1>();
        form->FormActivate(form.get());
        for (QObject* c : form->Components())
            if (!c->objectName().isEmpty() && c->property("Checked").isValid())
                marks[c] = c->property("Checked").toBool();
    }
    FakePlatform fake;
    ScopedPlatform scope{fake};
    std::unique_ptr<TForm1> form;
    std::map<QObject*, bool> marks; // every saved check mark, as the layout sets it
    QStringList errors;
};

Window& TheWindow()
{
    static Window* w = new Window; // lives to the end of the run
    return *w;
}

std::map<QObject*, bool> Marks(const Window& w)
{
    std::map<QObject*, bool> now;
    for (const auto& [c, _] : w.marks)
        now[c] = c->property("Checked").toBool();
    return now;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Like the window, the application lives to the end of the run: torn
    // down at exit, it would leave the window without it.
    new QApplication(*argc, *argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    LoadDesignFonts();
    TheWindow();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    Window& w = TheWindow();
    TForm1& form = *w.form;
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const QString settings = form.IniVal->EffectiveFileName();
    const QString positions = form.SavedForm1->FileName();
    for (const auto& [c, on] : w.marks)
        c->setProperty("Checked", on);
    PutFile(settings, data);

    const std::map<QObject*, bool> before = Marks(w);
    form.IniVal->Load();
    const TIniFile ini(settings);
    const QByteArray lower = data.toLower();
    for (const auto& [c, was] : before) {
        // A key the file does not spell cannot be in it; one it spells is
        // read on its own.
        const bool spelt = lower.contains(c->objectName().toLower().toUtf8());
        const bool expected = spelt ? ini.ReadBool("Form1", c->objectName(), was) : was;
        Check(c->property("Checked").toBool() == expected,
              c->objectName().toStdString() + " is what a read of its key gives");
    }
    const std::map<QObject*, bool> loaded = Marks(w);
    form.IniVal->Load();
    Check(Marks(w) == loaded, "a second load changes nothing");

    form.ReloadButClick(&form);
    for (const DriveSlot& s : form.Slots)
        if (s.Flag->Checked() && w.fake.Drive(s.Letter.toLatin1()))
            Check(s.RowVisible(), std::string("the row of flagged drive ") + char(s.Letter.toLatin1()) + " shows");
    int flags = 0;
    int down = 0;
    for (TAction* a : {form.BView, form.KBView, form.MBView, form.GBView})
        flags += a->Checked() ? 1 : 0;
    for (TLbSpeedButton* b : {form.BytesBut, form.KBytesBut, form.MBytesBut, form.GBytesBut})
        down += b->Down() ? 1 : 0;
    Check(flags == 1 && down == 1, "one unit flag set and one unit button down");

    form.IniVal->Save();
    Check(w.errors.isEmpty(), "a save into a writable file raises no error");
    const QByteArray saved = GetFile(settings);
    QList<TIniKey> keys;
    for (const auto& [c, _] : w.marks)
        keys.append({"Form1", c->objectName()});
    const QList<std::optional<QString>> back = ini.ReadStrings(keys);
    qsizetype k = 0;
    for (const auto& [c, _] : w.marks) {
        const std::optional<QString>& text = back[k++];
        Check(text == QString(c->property("Checked").toBool() ? "1" : "0"), c->objectName().toStdString() + " reads back");
    }
    const auto windowKey = [&](const QByteArray& line) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            return false;
        const QString name = QString::fromUtf8(line.left(eq).trimmed());
        for (const auto& [c, _] : w.marks)
            if (name.compare(c->objectName(), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    const auto isNew = [&](const QByteArray& line) {
        QByteArray l = line;
        if (l.endsWith('\r'))
            l.chop(1);
        return l == "[Form1]" || windowKey(l);
    };
    std::string why;
    Check(KeepsLines(data, saved, windowKey, isNew, why), "a save keeps every foreign line: " + why);

    // The same bytes as the position file.
    PutFile(positions, data);
    form.SavedForm1->Load();
    const QSize screen = w.fake.Screen;
    const QRect frame = form.frameGeometry();
    // The window is never shown here: its place is judged at its first
    // activation, and until then its corner is held on the screen.
    if (form.SavedForm1->OnScreenCheckPending()) {
        Check(form.x() >= 0 && form.y() >= 0 && form.x() < screen.width() && form.y() < screen.height(),
              "a hidden window's corner is held on the screen");
    } else {
        const bool fits = frame.width() <= screen.width() && frame.height() <= screen.height();
        Check(!fits || (form.x() >= 0 && form.y() >= 0 && form.x() + frame.width() <= screen.width()
                        && form.y() + frame.height() <= screen.height()),
              "the window stands fully on the screen");
    }
    QFile::remove(positions);
    return 0;
}
