#include "Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QStatusTipEvent>

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
    if (component && !components_.contains(component))
        components_.append(component);
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
    if (h == hint_)
        return;
    hint_ = h;
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

void TApplication::HandleException(const std::exception& e)
{
    const QString text = QString::fromUtf8(e.what());
    if (ShowError) {
        ShowError(text);
        return;
    }
    QMessageBox::critical(MainForm, title_.isEmpty() ? QStringLiteral("Error") : title_, text);
}
