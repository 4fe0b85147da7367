// The test main of the libraries below the GUI (platform, drives): a
// QCoreApplication, so that they are shown to run without Qt's GUI library.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
