#include "Form.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "Application.h"

#include "ModalWindows.h"

TForm::TForm(QWidget* parent)
    : TControl(parent)
{
    setColor(clBtnFace);
}

// OnDestroy is not raised from here: by now the concrete form's members are
// gone. Concrete forms call DoDestroy() first thing in their destructor.
TForm::~TForm()
{
    // A modal form deleted while shown ends its modal loop.
    if (modalLoop_)
        modalLoop_->quit();
}

void TForm::setColor(TColor c)
{
    TControl::setColor(c);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(c));
    setPalette(pal);
    setAutoFillBackground(true);
}

void TForm::RegisterComponent(QObject* component)
{
    if (component && !components_.contains(component)) {
        components_.append(component);
        componentsOf_.clear();
    }
}

QObject* TForm::FindComponent(const QString& name) const
{
    for (QObject* c : components_)
        if (c->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TForm::EndLoading()
{
    if (!loading_)
        return;
    loading_ = false;
    // Copy: a Loaded() may register further components.
    const QList<QObject*> list = components_;
    for (QObject* c : list) {
        if (auto* comp = qobject_cast<TComponent*>(c))
            comp->Loaded();
        else if (auto* ctl = qobject_cast<TControl*>(c))
            ctl->Loaded();
    }
}

void TForm::DoCreate()
{
    EndLoading();
    if (OnCreate)
        OnCreate(this);
}

void TForm::DoDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    if (OnDestroy)
        OnDestroy(this);
}

void TForm::ShowModal()
{
    if (modalLoop_)
        return;
    const QPointer<TForm> self(this);
    QEventLoop loop;
    modalLoop_ = &loop;
    setWindowModality(Qt::ApplicationModal);
    AttachModalWindow(this);
    KeepModalWindowsReachable();
    show();
    activateWindow();
    // A form closed by its own show handler has nothing to wait for.
    if (!isHidden())
        loop.exec(QEventLoop::DialogExec);
    if (self) {
        modalLoop_ = nullptr;
        setWindowModality(Qt::NonModal);
    }
}

void TForm::setMenuBar(QMenuBar* bar)
{
    menuBar_ = bar;
    if (bar) {
        bar->setParent(this);
        bar->setGeometry(0, 0, width(), bar->sizeHint().height());
        bar->show();
    }
    Realign();
}

int TForm::MenuBarHeight() const
{
    return menuBar_ && !menuBar_->isHidden() ? menuBar_->height() : 0;
}

QRect TForm::AlignArea() const
{
    const int top = MenuBarHeight();
    return QRect(0, top, width(), height() - top);
}

void TForm::resizeEvent(QResizeEvent* e)
{
    if (menuBar_)
        menuBar_->setGeometry(0, 0, width(), menuBar_->heightForWidth(width()) > 0
                                                   ? menuBar_->heightForWidth(width())
                                                   : menuBar_->sizeHint().height());
    TControl::resizeEvent(e);
}

TWindowState TForm::WindowState() const
{
    if (isMinimized())
        return TWindowState::wsMinimized;
    if (isMaximized())
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::setWindowState(TWindowState s)
{
    switch (s) {
    case TWindowState::wsNormal:
        QWidget::setWindowState(QWidget::windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    case TWindowState::wsMinimized:
        QWidget::setWindowState((QWidget::windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case TWindowState::wsMaximized:
        QWidget::setWindowState((QWidget::windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    }
}

void TForm::closeEvent(QCloseEvent* e)
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose) {
        e->ignore();
        return;
    }
    TCloseAction action = defaultCloseAction_;
    if (OnClose)
        OnClose(this, action);
    // Closing the application's main form ends the program, even when the
    // form was no longer on screen (Qt quits only when a visible window
    // closes).
    if (action != TCloseAction::caNone && action != TCloseAction::caMinimize && Application().MainForm == this)
        QCoreApplication::quit();
    switch (action) {
    case TCloseAction::caNone:
        e->ignore();
        return;
    case TCloseAction::caMinimize:
        e->ignore();
        setWindowState(TWindowState::wsMinimized);
        return;
    case TCloseAction::caFree:
        setAttribute(Qt::WA_DeleteOnClose, true);
        e->accept();
        return;
    case TCloseAction::caHide:
        e->accept();
        return;
    }
}

void TForm::showEvent(QShowEvent* e)
{
    TControl::showEvent(e);
    if (!e->spontaneous() && OnShow)
        OnShow(this);
}

void TForm::hideEvent(QHideEvent* e)
{
    TControl::hideEvent(e);
    if (e->spontaneous())
        return;
    if (modalLoop_)
        modalLoop_->quit();
    if (OnHide)
        OnHide(this);
}

void TForm::changeEvent(QEvent* e)
{
    TControl::changeEvent(e);
    if (e->type() == QEvent::ActivationChange) {
        const bool active = isActiveWindow();
        if (active && !wasActive_ && OnActivate)
            OnActivate(this);
        wasActive_ = active;
    }
}
