#include "Application.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusTipEvent>

#include "ModalWindows.h"

TApplication& Application()
{
    static TApplication* app = new TApplication; // lives as long as the process
    return *app;
}

void TApplication::setTitle(const QString& t)
{
    // Only the application's name: a display name would be appended to every
    // window caption on X11 ("... - Kestrix").
    title_ = t;
    QCoreApplication::setApplicationName(t);
}

void TApplication::setHint(const QString& h)
{
    if (!StoreChanged(hint_, h))
        return;
    if (OnHint)
        OnHint(this);
}

void TApplication::TrackHints()
{
    if (tracking_ || !qApp)
        return;
    tracking_ = true;
    qApp->installEventFilter(this);
}

QString HintOf(const QWidget* w)
{
    if (auto* c = qobject_cast<const TControl*>(w))
        return c->Hint();
    return QString();
}

bool TApplication::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        if (auto* w = qobject_cast<QWidget*>(watched))
            setHint(HintOf(w));
        break;
    case QEvent::Leave:
        // Leaving a child returns the mouse to its parent, which gets no
        // Enter of its own; a sibling entered next overrides this.
        if (auto* w = qobject_cast<QWidget*>(watched); w && !w->isWindow())
            setHint(HintOf(w->parentWidget()));
        else
            setHint(QString());
        break;
    case QEvent::StatusTip:
        // Highlighted menu items report their hint this way.
        if (qobject_cast<QMenu*>(watched) || qobject_cast<QMenuBar*>(watched))
            setHint(static_cast<QStatusTipEvent*>(event)->tip());
        break;
    default:
        break;
    }
    return false;
}

void TApplication::setCursor(TCursor c)
{
    if (c == cursor_)
        return;
    if (cursor_ != TCursor::crDefault)
        QApplication::restoreOverrideCursor();
    cursor_ = c;
    if (c == TCursor::crHourGlass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (c == TCursor::crHandPoint)
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TApplication::RunHandler(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        HandleException(e);
        return false;
    }
}

void TApplication::HandleException(const std::exception& e)
{
    const QString text = QString::fromUtf8(e.what());
    if (ShowError) {
        ShowError(text);
        return;
    }
    KeepModalWindowsReachable();
    QMessageBox::critical(MainForm, title_.isEmpty() ? QStringLiteral("Error") : title_, text);
}
