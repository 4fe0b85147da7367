// The peer for start-up figures: the smallest Qt 6 main window program,
// built with the same compiler and flags as Kestrix. It shows a QMainWindow
// of Kestrix's size with a menu bar, a label and a status bar.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Qt main window"));
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.setCentralWidget(new QLabel(QStringLiteral("A minimal Qt 6 main window")));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(694, 257);
    window.show();
    return app.exec();
}
