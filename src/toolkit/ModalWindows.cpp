#include "ModalWindows.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "Application.h"

void AttachModalWindow(QWidget* modal)
{
    if (!modal || modal->parentWidget())
        return;
    QWidget* blocked = QApplication::activeWindow();
    if (!blocked || blocked == modal)
        blocked = Application().MainForm;
    if (!blocked || blocked == modal || !blocked->windowHandle())
        return;
    modal->winId(); // the native window the hint goes to
    if (QWindow* window = modal->windowHandle())
        window->setTransientParent(blocked->windowHandle());
}

namespace {

class ModalWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::WindowActivate)
            return false;
        auto* activated = qobject_cast<QWidget*>(watched);
        QWidget* modal = QApplication::activeModalWidget();
        if (!activated || !activated->isWindow() || !modal || activated == modal)
            return false;
        const QWindow* window = modal->windowHandle();
        if (!modal->isMinimized() && window && window->isExposed())
            return false;
        // Later, once the activation that brought us here is complete, so
        // that the modal window's activation is the last word.
        const QPointer<QWidget> target(modal);
        QMetaObject::invokeMethod(
            this,
            [target] {
                if (!target || QApplication::activeModalWidget() != target)
                    return;
                target->setWindowState(target->windowState() & ~Qt::WindowMinimized);
                target->show();
                target->raise();
                target->activateWindow();
            },
            Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void KeepModalWindowsReachable()
{
    static QPointer<ModalWatch> watch;
    if (watch || !qApp)
        return;
    watch = new ModalWatch(qApp);
    qApp->installEventFilter(watch);
}
