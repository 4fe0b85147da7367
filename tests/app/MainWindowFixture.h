// The main window on the fake platform: drives declared by the test, a
// temporary program folder, the window built offscreen.
#pragma once

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "app/STSMain.h"
#include "platform/FakePlatform.h"
#include "support/TestSupport.h"

namespace kestrix::test {

constexpr std::int64_t KiB = 1024;
constexpr std::int64_t MiB = 1024 * KiB;
constexpr std::int64_t GiB = 1024 * MiB;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fake.Folder = dir.path() + QLatin1Char('/');
    }

    // Builds the window (its creation handler runs in the constructor).
    TForm1& Start()
    {
        form = std::make_unique<TForm1>();
        return *form;
    }
    // Builds it and runs the first activation, as showing it does.
    TForm1& StartActive()
    {
        Start();
        form->FormActivate(form.get());
        return *form;
    }

    // The letters of the shown rows, in order of their place on screen.
    QString RowsOnScreen() const
    {
        std::vector<const DriveSlot*> shown;
        for (const DriveSlot& s : form->Slots)
            if (s.RowVisible())
                shown.push_back(&s);
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->Pan->y() < b->Pan->y(); });
        QString letters;
        for (const DriveSlot* s : shown)
            letters += s->Letter;
        return letters;
    }

    FakePlatform fake;
    QTemporaryDir dir;
    ScopedPlatform scope{fake};
    std::unique_ptr<TForm1> form;
};

} // namespace kestrix::test
