// The program's application object: an error that escapes an event handler
// ends that handler and is shown in a message box; the program goes on.
#pragma once

#include <QApplication>

class TKestrixApplication : public QApplication {
    Q_OBJECT
public:
    TKestrixApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
