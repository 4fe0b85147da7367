// The application object of the toolkit and the hint routing it keeps.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <exception>
#include <functional>

#include "Control.h"

enum class TCursor { crDefault, crHourGlass, crHandPoint };

// The application object of the toolkit: title, help file, the current hint
// (the hint of the control under the mouse or of the highlighted menu item,
// reported through OnHint), the mouse cursor, the event pump and the handling
// of errors that escape an event handler.
class TApplication : public QObject {
    Q_OBJECT
public:
    QString Title() const { return title_; }
    void setTitle(const QString& t);
    QString HelpFile() const { return helpFile_; }
    void setHelpFile(const QString& f) { helpFile_ = f; }

    // The current hint; OnHint runs whenever it changes.
    QString Hint() const { return hint_; }
    void setHint(const QString& h);
    TNotifyEvent OnHint;

    // Starts following the mouse and the menus to keep Hint current.
    void TrackHints();

    // The application-wide cursor (crDefault removes the override).
    void setCursor(TCursor c);
    TCursor Cursor() const { return cursor_; }

    // One pass of the event loop: handles everything pending, then returns.
    void ProcessMessages();

    // Runs an event handler. An error that escapes it ends the handler there
    // and goes to HandleException; the caller and the program go on. False
    // when that happened. The program's QApplication runs every event
    // delivery through this.
    bool RunHandler(const std::function<void()>& handler);

    // Shows the text of an error that ended a handler; the program goes on.
    // Tests may replace ShowError to collect the texts instead.
    void HandleException(const std::exception& e);
    std::function<void(const QString&)> ShowError;

    QPointer<QWidget> MainForm;
    // Whether the program shows its main window at start (a component may
    // decide it should start hidden).
    bool ShowMainForm = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString title_;
    QString helpFile_;
    QString hint_;
    TCursor cursor_ = TCursor::crDefault;
    bool tracking_ = false;
};

TApplication& Application();

// The hint of a widget as the application shows it: the Hint of a control,
// empty for anything else.
QString HintOf(const QWidget* w);
