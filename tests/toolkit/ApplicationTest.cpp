// An error that escapes an event handler ends that handler, reaches the
// application's handler with its text, and the program goes on: the same
// control answers its next event. The control catches it itself, before it
// unwinds through Qt's delivery code (which would leak what it holds), so the
// application's outer run sees no error. (The program's QApplication runs
// every event delivery through RunHandler, as Click does here.)
#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <stdexcept>

#include "support/TestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Control.h"
#include "toolkit/Errors.h"
#include "toolkit/MenuItem.h"

namespace {

// Collects what the application would show in its error box.
struct ShownErrors {
    QStringList texts;
    ShownErrors() { Application().ShowError = [this](const QString& t) { texts << t; }; }
    ~ShownErrors() { Application().ShowError = nullptr; }
};

// A left click released inside the control, delivered as the event loop
// delivers it: through the application's handler run.
bool Click(TControl& c)
{
    return Application().RunHandler([&] {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(&c, &release);
    });
}

} // namespace

TEST(HandlerErrors, ReachTheApplicationsHandlerAndTheProgramGoesOn)
{
    ShownErrors shown;
    TControl button;
    button.resize(20, 20);
    int clicks = 0;
    bool after = false;
    button.OnClick = [&](QObject*) {
        if (++clicks == 1) {
            throw EInvalidOperation("Value must be between 0 and 100");
            after = true; // never reached: the error ends the handler
        }
    };

    EXPECT_TRUE(Click(button));
    EXPECT_EQ(shown.texts, QStringList{QStringLiteral("Value must be between 0 and 100")});
    EXPECT_FALSE(after);

    // The same control answers its next click, and nothing more is shown.
    EXPECT_TRUE(Click(button));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(shown.texts.size(), 1);

    // A menu command's error is caught the same way, and the command runs
    // again when chosen again.
    TMenuItem item;
    int chosen = 0;
    item.OnClick = [&](QObject*) {
        if (++chosen == 1)
            throw EInvalidOperation("Cannot open help file");
    };
    EXPECT_TRUE(Application().RunHandler([&] { item.trigger(); }));
    EXPECT_EQ(shown.texts.last(), QStringLiteral("Cannot open help file"));
    item.trigger();
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(shown.texts.size(), 2);

    // Errors keep their text word for word, whatever their class.
    EXPECT_FALSE(Application().RunHandler([] { throw std::runtime_error("Unable to write to INIVAL.INI"); }));
    EXPECT_EQ(shown.texts.last(), QStringLiteral("Unable to write to INIVAL.INI"));
}
