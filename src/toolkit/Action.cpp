#include "Action.h"

TAction::TAction(QObject* parent)
    : QObject(parent)
{
}

void TAction::setChecked(bool on)
{
    if (!StoreChanged(checked_, on))
        return;
    emit CheckedChanged(on);
}

bool TAction::Execute()
{
    if (autoCheck_)
        setChecked(!checked_);
    if (OnExecute) {
        OnExecute(this);
        return true;
    }
    return false;
}
