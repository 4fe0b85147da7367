#include "app/KestrixApplication.h"

#include <exception>

#include "toolkit/Application.h"

TKestrixApplication::TKestrixApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TKestrixApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Application().HandleException(e);
        return false;
    }
}
