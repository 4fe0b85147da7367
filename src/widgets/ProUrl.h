// A label that opens a link when clicked and colours itself by state.
#pragma once

#include <functional>

#include "ProCtrls.h"
#include "toolkit/Cursors.h"

// Opens a link or file as the shell's "open" verb does; true on success.
using TUrlOpener = std::function<bool(const QString& target)>;
// The opener every URL label uses unless it has its own. The widgets stand
// below the platform layer, so the program wires the platform's shell open
// here at start-up; until then links go to QDesktopServices.
void SetDefaultUrlOpener(TUrlOpener opener);
bool OpenUrlByDefault(const QString& target);

class TProUrlLabel : public TProLabel {
    Q_OBJECT
public:
    explicit TProUrlLabel(QWidget* parent = nullptr);

    // The text to open; empty opens the caption.
    QString URL() const { return url_; }
    void setURL(const QString& url) { url_ = url; }
    TColor UnvisitedColor() const { return unvisitedColor_; }
    void setUnvisitedColor(TColor c);
    TColor VisitedColor() const { return visitedColor_; }
    void setVisitedColor(TColor c);
    TColor ActivatedColor() const { return activatedColor_; }
    void setActivatedColor(TColor c) { activatedColor_ = c; }
    TColor HoveredColor() const { return hoveredColor_; }
    void setHoveredColor(TColor c) { hoveredColor_ = c; }
    // Hover effects: the underline shows only while hovered.
    bool CanHover() const { return canHover_; }
    void setCanHover(bool on);
    bool Visited() const { return visited_; }

    // While neither hovered (with CanHover) nor pressed, a new font colour
    // is recorded as the colour of the current state.
    void setFontColor(TColor c) override;

    // This label's own opener; empty uses the default one.
    TUrlOpener Opener;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    TColor StateColor() const { return visited_ ? visitedColor_ : unvisitedColor_; }
    void setUnderline(bool on);

    QString url_;
    TColor unvisitedColor_ = 0xFF0000;
    TColor visitedColor_ = 0x800000;
    TColor activatedColor_ = 0x0000FF;
    TColor hoveredColor_ = 0xFFFFFF;
    bool canHover_ = false;
    bool visited_ = false;
    bool pressed_ = false;
    bool hovering_ = false;
};
