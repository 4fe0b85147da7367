#include "HyperCheckBox.h"

#include "toolkit/Cursors.h"

THyperCheckBox::THyperCheckBox(QWidget* parent)
    : TCheckBox(parent)
{
    setCursor(ProCursor(crProHandPoint));
}

void THyperCheckBox::setColorLeave(TColor c)
{
    colorLeave_ = c;
    setFontColor(c);
}

void THyperCheckBox::enterEvent(QEnterEvent* e)
{
    TCheckBox::enterEvent(e);
    setFontColor(colorEnter_);
}

void THyperCheckBox::leaveEvent(QEvent* e)
{
    TCheckBox::leaveEvent(e);
    setFontColor(colorLeave_);
}
