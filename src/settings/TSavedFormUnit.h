// The position saver: a component owned by a form that stores the form's
// position, and optionally its size and window state, in an ini file beside
// the program, under keys that carry the screen resolution, so that every
// resolution keeps its own place (Form11024x768Left, Form11024x768Top, ...).
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <initializer_list>

#include "toolkit/Component.h"

class TForm;
class TIniFile;

enum TSFSavedArg { saState, saPosition, saSize };

// A set of TSFSavedArg.
class TSFSavedArgs {
public:
    constexpr TSFSavedArgs() = default;
    constexpr TSFSavedArgs(std::initializer_list<TSFSavedArg> args)
    {
        for (TSFSavedArg a : args)
            bits_ |= Bit(a);
    }
    constexpr bool Contains(TSFSavedArg a) const { return (bits_ & Bit(a)) != 0; }
    constexpr bool operator==(const TSFSavedArgs&) const = default;

private:
    static constexpr unsigned Bit(TSFSavedArg a) { return 1u << unsigned(a); }
    unsigned bits_ = 0;
};

// A load or save request: the handler may set AExecute to false to stop it.
using TSFRequestProc = std::function<void(QObject* Sender, bool& AExecute)>;

class TSavedForm : public TComponent {
    Q_OBJECT
public:
    // Raises Exception "TSavedForm: owner is not a TForm" for any other
    // owner (and for none). SavedName starts as the owner's Name.
    explicit TSavedForm(QObject* owner);

    // Load as soon as the owner's layout is complete (default true).
    bool AutoLoad() const { return autoLoad_; }
    void setAutoLoad(bool on) { autoLoad_ = on; }
    // What is stored (default all three).
    TSFSavedArgs SavedArgs() const { return savedArgs_; }
    void setSavedArgs(TSFSavedArgs args) { savedArgs_ = args; }
    // The file name, relative to the program's folder (default "Settings.ini").
    QString IniFile() const { return iniFile_; }
    void setIniFile(const QString& name) { iniFile_ = name; }
    // The ini section (default "Dialog_Positions").
    QString Section() const { return section_; }
    void setSection(const QString& section) { section_ = section; }
    // The first part of every key; setting it recomputes the key prefix.
    QString SavedName() const { return savedName_; }
    void setSavedName(const QString& name);
    // With no saved position, centre the window on the screen instead of
    // leaving it where it is (default false).
    bool CenterForm() const { return centerForm_; }
    void setCenterForm(bool on) { centerForm_ = on; }

    // SavedName, screen width, "x", screen height: "Form11024x768".
    QString KeyPrefix() const { return keyPrefix_; }
    // The program's folder followed by IniFile.
    QString FileName() const;

    // Asks OnLoadRequest (or OnSaveRequest) and loads (saves) unless the
    // handler said no.
    void LoadRequest();
    void SaveRequest();

    // Load and Save use the given open file, or open FileName() themselves.
    // Opening it themselves, both raise Exception "TSavedForm: folder for ini
    // file does not exist" before touching any file when the folder is
    // missing. A refused write raises EIniFileException "Unable to write to
    // <file name>".
    //
    // Positions are the window's outer (frame) position as QWidget::move()
    // and pos() take them; sizes are the size QWidget::resize() takes.
    //
    // The place read is where the window goes, as read. So that a place
    // saved on a larger screen, or typed into the file, cannot open the
    // window where nobody sees it, the window is then moved the least
    // distance that puts it fully on the screen, but only once it has the
    // size it really has: the main window gets its height from its rows at
    // its first activation, so a hidden window is judged after its first
    // activation, a shown one at once. (Until then a corner off the screen
    // altogether is held at the screen's edge, so that no absurd coordinate
    // reaches the window system.)
    //
    // A size read is restored as read, with one choice of ours: a size of
    // less than one pixel keeps the current size, and one beyond the screen
    // is cut to the screen, so that a damaged file cannot ask for a window
    // of gigapixels.
    void Load(TIniFile* file = nullptr);
    void Save(TIniFile* file = nullptr);

    // Runs the load request when AutoLoad is on.
    void Loaded() override;

    // Whether a loaded place waits for the window's first activation to be
    // brought onto the screen.
    bool OnScreenCheckPending() const { return onScreenPending_; }

    TSFRequestProc OnLoadRequest;
    TSFRequestProc OnSaveRequest;
    TNotifyEvent OnBeforeLoad;
    TNotifyEvent OnAfterLoad;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether a request handler (if any) lets the load or save go ahead.
    bool Granted(const TSFRequestProc& request);
    void UpdateKeyPrefix();
    // The window's normal (restored) rectangle: frame position and size;
    // false when there is no window or no normal rectangle to tell.
    bool NormalRect(QRect& rect) const;
    // Moves the window the least distance that puts its frame fully on the
    // screen (to the screen's left or top edge when it is larger).
    void KeepOnScreen();
    void LoadFrom(const TIniFile& ini);
    void SaveTo(TIniFile& ini);
    void CheckFolder() const;

    QPointer<TForm> form_;
    // The same window as a plain object, for the event filter (see there).
    QPointer<QObject> formObject_;
    bool autoLoad_ = true;
    TSFSavedArgs savedArgs_{saState, saPosition, saSize};
    QString iniFile_ = QStringLiteral("Settings.ini");
    QString section_ = QStringLiteral("Dialog_Positions");
    QString savedName_;
    bool centerForm_ = false;
    bool onScreenPending_ = false;
    QString keyPrefix_;
};
