// A form's close path: the close query, then the close handler's action
// (caNone keeps it open, caHide hides it, caFree frees it, caMinimize
// minimises it), the form's own default, and a modal show ending with it;
// and its lists of components of one kind.
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"

namespace {

// Deletes that were deferred (a form that frees itself) happen now.
void RunDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A shown form whose close handler answers with `action` and which notes
// what ran, in order.
struct ClosingForm {
    QPointer<TForm> form = new TForm;
    std::vector<std::string> ran;

    explicit ClosingForm(TCloseAction action)
    {
        form->OnCloseQuery = [this](QObject*, bool&) { ran.push_back("query"); };
        form->OnClose = [this, action](QObject* sender, TCloseAction& a) {
            EXPECT_EQ(sender, form.data());
            EXPECT_EQ(a, TCloseAction::caHide); // the toolkit's default for a form
            ran.push_back("close");
            a = action;
        };
        form->OnHide = [this](QObject*) { ran.push_back("hide"); };
        form->resize(120, 80);
        form->show();
    }
    ~ClosingForm() { delete form.data(); }
};

} // namespace

TEST(FormClose, CaNoneKeepsTheFormOpenAndCanBeClosedLater)
{
    ClosingForm f(TCloseAction::caNone);
    f.form->Close();
    RunDeferredDeletes();
    ASSERT_TRUE(f.form);
    EXPECT_TRUE(f.form->isVisible());
    EXPECT_EQ(f.ran, (std::vector<std::string>{"query", "close"}));

    // A later close with another answer goes through.
    f.form->OnClose = [](QObject*, TCloseAction& a) { a = TCloseAction::caHide; };
    f.form->Close();
    EXPECT_TRUE(f.form->isHidden());
}

TEST(FormClose, CaHideHidesTheFormAndKeepsIt)
{
    ClosingForm f(TCloseAction::caHide);
    f.form->Close();
    RunDeferredDeletes();
    ASSERT_TRUE(f.form);
    EXPECT_TRUE(f.form->isHidden());
    EXPECT_EQ(f.ran, (std::vector<std::string>{"query", "close", "hide"}));
    // It can be shown again.
    f.form->show();
    EXPECT_TRUE(f.form->isVisible());
}

TEST(FormClose, CaFreeHidesAndFreesTheForm)
{
    ClosingForm f(TCloseAction::caFree);
    f.form->Close();
    EXPECT_TRUE(f.form && f.form->isHidden()); // freed once the event loop runs
    RunDeferredDeletes();
    EXPECT_FALSE(f.form);
    EXPECT_EQ(f.ran, (std::vector<std::string>{"query", "close", "hide"}));
}

TEST(FormClose, CaMinimizeMinimisesTheFormInsteadOfClosingIt)
{
    ClosingForm f(TCloseAction::caMinimize);
    f.form->Close();
    RunDeferredDeletes();
    ASSERT_TRUE(f.form);
    EXPECT_FALSE(f.form->isHidden());
    EXPECT_EQ(f.form->WindowState(), TWindowState::wsMinimized);
    EXPECT_EQ(f.ran, (std::vector<std::string>{"query", "close"}));
}

TEST(FormClose, ARefusedQueryClosesNothingAndAsksNoCloseHandler)
{
    ClosingForm f(TCloseAction::caFree);
    f.form->OnCloseQuery = [&](QObject*, bool& canClose) {
        f.ran.push_back("query");
        canClose = false;
    };
    f.form->Close();
    f.form->Close();
    RunDeferredDeletes();
    ASSERT_TRUE(f.form);
    EXPECT_TRUE(f.form->isVisible());
    EXPECT_EQ(f.ran, (std::vector<std::string>{"query", "query"}));
}

TEST(FormClose, WithoutHandlersAFormHidesAndAModalShowReturns)
{
    QPointer<TForm> form = new TForm;
    form->resize(100, 60);
    QTimer::singleShot(0, form, [&] {
        EXPECT_TRUE(form->Modal());
        form->Close();
    });
    form->ShowModal();
    RunDeferredDeletes();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isHidden());
    EXPECT_FALSE(form->Modal());

    // A modal form that frees itself is gone once the loop has run.
    form->OnClose = [](QObject*, TCloseAction& a) { a = TCloseAction::caFree; };
    QTimer::singleShot(0, form, [&] { form->Close(); });
    form->ShowModal();
    RunDeferredDeletes();
    EXPECT_FALSE(form);
}

TEST(FormComponents, ListsOfOneKindFollowEachRegistration)
{
    TForm form;
    auto* first = new TLabel(&form);
    auto* panel = new TPanel(&form);
    auto* second = new TLabel(panel);
    for (QObject* c : {static_cast<QObject*>(first), static_cast<QObject*>(panel), static_cast<QObject*>(second)})
        form.RegisterComponent(c);
    EXPECT_EQ(form.ComponentsOf<TLabel>(), (QList<TLabel*>{first, second}));
    EXPECT_EQ(form.ComponentsOf<TPanel>(), (QList<TPanel*>{panel}));
    EXPECT_EQ(form.ComponentsOf<TControl>().size(), 3);
    // A later registration shows in the next list of its kind.
    auto* third = new TLabel(&form);
    form.RegisterComponent(third);
    EXPECT_EQ(form.ComponentsOf<TLabel>(), (QList<TLabel*>{first, second, third}));
    EXPECT_EQ(form.ComponentsOf<TPanel>(), (QList<TPanel*>{panel}));
}
