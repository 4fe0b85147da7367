#include "MenuItem.h"

#include "Application.h"

TMenuItem::TMenuItem(QObject* parent)
    : QAction(parent)
{
    connect(this, &QAction::triggered, this, [this] {
        // Qt toggles a checkable action before this runs; the toolkit's item
        // keeps its mark unless it checks itself.
        const bool was = checked_;
        setChecked(autoCheck_ ? !was : was);
        // Caught before it unwinds through the signal's delivery.
        if (OnClick)
            Application().RunHandler([this] { OnClick(this); });
    });
}

void TMenuItem::setCaption(const QString& c)
{
    if (c == QLatin1String("-"))
        setSeparator(true);
    else
        setText(c);
}

void TMenuItem::setChecked(bool on)
{
    checked_ = on;
    setCheckable(on);
    QAction::setChecked(on);
}

void TMenuItem::Add(TMenuItem* item)
{
    if (!subMenu_) {
        subMenu_ = new QMenu();
        subMenu_->setTitle(text());
        setMenu(subMenu_);
        connect(this, &QObject::destroyed, subMenu_, &QObject::deleteLater);
    }
    subMenu_->addAction(item);
}

int TMenuItem::Count() const
{
    return subMenu_ ? int(subMenu_->actions().size()) : 0;
}

TMenuItem* TMenuItem::Item(int i) const
{
    return subMenu_ ? qobject_cast<TMenuItem*>(subMenu_->actions().value(i)) : nullptr;
}

void TMenuItem::Click()
{
    if (isEnabled())
        trigger();
}
