// An action of the action list. Its Checked state is saved by name with the
// menu items' (MenuItem.h), as the Qt property "Checked".
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>

#include "Control.h"

// An action of the action list: caption, shortcut, a check mark that may
// toggle itself when it runs, and an execute handler.
class TAction : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE setChecked)
public:
    explicit TAction(QObject* parent = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString& name) { setObjectName(name); }
    QString Caption() const { return caption_; }
    void setCaption(const QString& c) { caption_ = c; }
    QKeySequence ShortCut() const { return shortCut_; }
    void setShortCut(const QKeySequence& k) { shortCut_ = k; }
    bool Checked() const { return checked_; }
    void setChecked(bool on);
    bool AutoCheck() const { return autoCheck_; }
    void setAutoCheck(bool on) { autoCheck_ = on; }

    // Runs the action: toggles the check mark when AutoCheck, then OnExecute.
    bool Execute();

    TNotifyEvent OnExecute;

signals:
    void CheckedChanged(bool checked);

private:
    QString caption_;
    QKeySequence shortCut_;
    bool checked_ = false;
    bool autoCheck_ = false;
};
