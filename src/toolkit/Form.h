// A top-level window with the toolkit's lifecycle: a component list in
// creation order, the creation, show, activation, close-query, close and
// destruction events, and a "loading" phase while the layout is built.
#pragma once

#include <QEventLoop>
#include <QList>
#include <QMenuBar>
#include <QPointer>
#include <functional>
#include <memory>
#include <unordered_map>

#include "Control.h"

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// The border a form asks the window manager for: none, a single (fixed) or
// sizeable frame, a dialog frame, or a tool window's small frame.
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The boxes of its caption: the system menu (with the close box), the
// minimise and maximise boxes and the help box.
enum TBorderIcon { biSystemMenu = 0x1, biMinimize = 0x2, biMaximize = 0x4, biHelp = 0x8 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_DECLARE_OPERATORS_FOR_FLAGS(TBorderIcons)

// The Qt window flags that ask the window manager for exactly this border
// (Qt passes them on as the window type and the Motif hints):
//  - without biSystemMenu the caption has no box at all;
//  - a dialog border never has minimise or maximise boxes;
//  - the help box shows only where neither of those does.
// Whether the user may resize the window is its size constraints' affair:
// the fixed-border forms give themselves a fixed size.
Qt::WindowFlags BorderWindowFlags(TFormBorderStyle style, TBorderIcons icons);

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
    // The registered components that are a T, in list order. Kept until the
    // next registration: a pass over one kind of control (every refresh
    // makes several) then skips the hundreds of others.
    template <class T>
    const QList<T*> ComponentsOf() const
    {
        std::shared_ptr<void>& kept = componentsOf_[&T::staticMetaObject];
        if (!kept) {
            auto list = std::make_shared<QList<T*>>();
            for (QObject* c : components_)
                if (T* t = qobject_cast<T*>(c))
                    list->append(t);
            kept = list;
        }
        return *std::static_pointer_cast<QList<T*>>(kept);
    }

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
    //
    // The form stays reachable while it blocks the others: the window
    // manager is told it belongs to the window it blocks (so that the two are
    // minimised and restored together), and should the form still end up
    // minimised or off the screen, activating a blocked window brings it back.
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

    // The border and caption boxes. A form's window flags follow them once
    // either is set (a form that sets neither keeps the flags it gives
    // itself); setting them on a shown form shows it again.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void setBorderIcons(TBorderIcons icons);

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
    void ApplyBorder();

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    QPointer<QMenuBar> menuBar_;
    QEventLoop* modalLoop_ = nullptr;
    QList<QObject*> components_;
    // ComponentsOf's lists, by the class they hold (each a QList<T*>).
    mutable std::unordered_map<const QMetaObject*, std::shared_ptr<void>> componentsOf_;
    bool loading_ = true;
    bool destroyed_ = false;
    bool wasActive_ = false;
};
