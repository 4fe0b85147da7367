// Menu items with the toolkit's check marks. Their Checked state is what
// the settings store saves by name, so items and actions (Action.h) both
// expose it as the Qt property "Checked".
#pragma once

#include <QAction>
#include <QMenu>
#include <QString>

#include "Control.h"

class TMenuItem : public QAction {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE setChecked)
public:
    explicit TMenuItem(QObject* parent = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString& name) { setObjectName(name); }
    QString Caption() const { return text(); }
    void setCaption(const QString& c);
    // "-" as caption makes a separator, as in the layout.
    bool IsLine() const { return isSeparator(); }

    // The check mark; shown only while set. Clicking an item never changes
    // it by itself unless AutoCheck is on.
    bool Checked() const { return checked_; }
    void setChecked(bool on);
    bool AutoCheck() const { return autoCheck_; }
    void setAutoCheck(bool on) { autoCheck_ = on; }
    bool RadioItem() const { return radioItem_; }
    void setRadioItem(bool on) { radioItem_ = on; }
    int GroupIndex() const { return groupIndex_; }
    void setGroupIndex(int g) { groupIndex_ = g; }
    QString Hint() const { return statusTip(); }
    void setHint(const QString& h) { setStatusTip(h); }
    bool Visible() const { return isVisible(); }
    bool Enabled() const { return isEnabled(); }

    // Sub-items: the first Add turns the item into a submenu.
    void Add(TMenuItem* item);
    QMenu* SubMenu() const { return subMenu_; }
    int Count() const;
    TMenuItem* Item(int i) const;

    // Runs OnClick as a user's click would.
    void Click();

    TNotifyEvent OnClick;

private:
    QMenu* subMenu_ = nullptr;
    bool checked_ = false;
    bool autoCheck_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
};
