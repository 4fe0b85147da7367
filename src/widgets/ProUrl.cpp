#include "ProUrl.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>


namespace {

TUrlOpener& DefaultOpener()
{
    static TUrlOpener opener;
    return opener;
}

} // namespace

void SetDefaultUrlOpener(TUrlOpener opener)
{
    DefaultOpener() = std::move(opener);
}

bool OpenUrlByDefault(const QString& target)
{
    if (DefaultOpener())
        return DefaultOpener()(target);
    return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

TProUrlLabel::TProUrlLabel(QWidget* parent)
    : TProLabel(parent)
{
    TProLabel::setFontColor(unvisitedColor_);
    setUnderline(true);
    setCursor(ProCursor(crProHandPoint));
}

void TProUrlLabel::setUnderline(bool on)
{
    QFont f = font();
    if (f.underline() == on)
        return;
    f.setUnderline(on);
    setLabelFont(f);
}

void TProUrlLabel::setFontColor(TColor c)
{
    TProLabel::setFontColor(c);
    if (!(canHover_ && hovering_) && !pressed_)
        (visited_ ? visitedColor_ : unvisitedColor_) = c;
}

void TProUrlLabel::setUnvisitedColor(TColor c)
{
    if (!visited_)
        setFontColor(c);
    else
        unvisitedColor_ = c;
}

void TProUrlLabel::setVisitedColor(TColor c)
{
    if (visited_)
        setFontColor(c);
    else
        visitedColor_ = c;
}

void TProUrlLabel::setCanHover(bool on)
{
    canHover_ = on;
    setUnderline(!on);
}

void TProUrlLabel::mousePressEvent(QMouseEvent* e)
{
    TProLabel::mousePressEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    setFontColor(activatedColor_);
}

void TProUrlLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        TProLabel::mouseReleaseEvent(e);
        return;
    }
    // Outside: x or y negative, or beyond the width or the height (the
    // column at x = width and the row at y = height still count as inside).
    const QPoint at = e->position().toPoint();
    if (at.x() < 0 || at.y() < 0 || at.x() > width() || at.y() > height()) {
        setFontColor(StateColor());
    } else if (pressed_) {
        visited_ = true;
        setFontColor(canHover_ ? hoveredColor_ : visitedColor_);
        const QString target = url_.isEmpty() ? Caption() : url_;
        if (Opener)
            Opener(target);
        else
            OpenUrlByDefault(target);
    }
    pressed_ = false;
    TProLabel::mouseReleaseEvent(e);
}

void TProUrlLabel::enterEvent(QEnterEvent* e)
{
    hovering_ = true;
    if (canHover_)
        setUnderline(true);
    if (pressed_)
        setFontColor(activatedColor_);
    else if (canHover_)
        setFontColor(hoveredColor_);
    TProLabel::enterEvent(e);
}

void TProUrlLabel::leaveEvent(QEvent* e)
{
    hovering_ = false;
    if (canHover_)
        setUnderline(false);
    setFontColor(StateColor());
    TProLabel::leaveEvent(e);
}
