#include "shell/HelpWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

namespace {

QPointer<QTextBrowser> g_window;

} // namespace

namespace HelpWindow {

QTextBrowser* Current()
{
    return g_window;
}

bool Show(const QString& helpFile)
{
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString html = QString::fromUtf8(file.readAll());
    if (!g_window) {
        g_window = new QTextBrowser;
        g_window->setObjectName(QStringLiteral("HelpWindow"));
        g_window->setWindowTitle(QStringLiteral("Kestrix Help"));
        g_window->setAttribute(Qt::WA_DeleteOnClose);
        g_window->setAttribute(Qt::WA_QuitOnClose, false);
        // Web and mail links go to the desktop; links within the page stay.
        g_window->setOpenExternalLinks(true);
        g_window->resize(640, 560);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            g_window->move(screen->availableGeometry().center() - g_window->rect().center());
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, g_window.data(),
                         &QObject::deleteLater);
    }
    // Anchors resolve against the file's own name, whatever its ending.
    g_window->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath()));
    g_window->setHtml(html);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return true;
}

} // namespace HelpWindow
