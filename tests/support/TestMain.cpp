// Every test process renders offscreen with a fixed style and the design fonts,
// so pixels are the same on every machine.
#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>
#include <gtest/gtest.h>

#include "toolkit/DesignScale.h"
#include "toolkit/Fonts.h"

int main(int argc, char** argv)
{
    // KESTRIX_TEST_PLATFORM=xcb runs the cases that need a real X server
    // (the scripts of tests/e2e start one); they skip everywhere else.
    const char* platform = std::getenv("KESTRIX_TEST_PLATFORM");
    setenv("QT_QPA_PLATFORM", platform && *platform ? platform : "offscreen", 1);
    for (const char* var : {"QT_SCALE_FACTOR", "QT_FONT_DPI", "QT_SCREEN_SCALE_FACTORS",
                            "QT_ENABLE_HIGHDPI_SCALING", "QT_USE_PHYSICAL_DPI", "QT_SCALE_FACTOR_ROUNDING_POLICY"})
        unsetenv(var);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    LoadDesignFonts();
    // As the program paints: a device of another ratio gets the one-times
    // picture scaled.
    PaintInDesignPixels();
    return RUN_ALL_TESTS();
}
