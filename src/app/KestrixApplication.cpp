#include "app/KestrixApplication.h"

#include "toolkit/Application.h"

TKestrixApplication::TKestrixApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TKestrixApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    Application().RunHandler([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
