// A top-level window with the toolkit's lifecycle: a component list in
// creation order, the creation, show, activation, close-query, close and
// destruction events, and a "loading" phase while the layout is built.
#pragma once

#include <QEventLoop>
#include <QList>
#include <QMenuBar>
#include <QPointer>
#include <functional>

#include "Control.h"

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseQueryEvent = std::function<void(QObject* sender, bool& canClose)>;
using TCloseEvent = std::function<void(QObject* sender, TCloseAction& action)>;

class TForm : public TControl {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    // The component list: every component and control the form owns, in
    // the order the layout created them. Layout code registers each one.
    const QList<QObject*>& Components() const { return components_; }
    void RegisterComponent(QObject* component);
    QObject* FindComponent(const QString& name) const;

    // The form's colour fills its background.
    void setColor(TColor c) override;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // Layout phase: between BeginLoading (the constructor calls it) and
    // EndLoading the form is "being loaded"; EndLoading runs Loaded() of every
    // registered component and control in list order.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    void EndLoading();

    // Ends the layout phase and runs OnCreate with the form as sender. A
    // concrete form calls it once at the end of its constructor.
    void DoCreate();
    // Runs OnDestroy with the form as sender. A concrete form calls it first
    // thing in its destructor (C++ destroys derived parts first); it runs once.
    void DoDestroy();

    // The toolkit's Close: asks OnCloseQuery, then OnClose, then acts on
    // the close action. The same path as the window's close box.
    void Close() { close(); }

    // Shows the form modal to the whole application and returns once it has
    // been hidden or closed. A form that frees itself on close is deleted by
    // the event loop after this returns.
    void ShowModal();
    bool Modal() const { return modalLoop_ != nullptr; }

    // The main menu sits above the client area; aligned children share the
    // client area only, and ClientHeight leaves the menu bar out.
    void setMenuBar(QMenuBar* bar);
    QMenuBar* MenuBar() const { return menuBar_; }
    int MenuBarHeight() const;
    QRect AlignArea() const override;
    int ClientHeight() const { return height() - MenuBarHeight(); }
    void setClientHeight(int h) { resize(width(), h + MenuBarHeight()); }
    int ClientWidth() const { return width(); }
    void setClientWidth(int w) { resize(w, height()); }

    TWindowState WindowState() const;
    void setWindowState(TWindowState s);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

    // The close action the toolkit starts with: caHide for a secondary form,
    // caFree for a form that releases itself; main windows override as needed.
    TCloseAction defaultCloseAction_ = TCloseAction::caHide;

private:
    QPointer<QMenuBar> menuBar_;
    QEventLoop* modalLoop_ = nullptr;
    QList<QObject*> components_;
    bool loading_ = true;
    bool destroyed_ = false;
    bool wasActive_ = false;
};
