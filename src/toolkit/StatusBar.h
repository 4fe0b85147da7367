// The toolkit's status bar: a row of panels with text, width and bevel, or
// one simple panel across the whole bar.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "Control.h"

class TStatusBar;

enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel {
public:
    explicit TStatusPanel(TStatusBar* bar)
        : bar_(bar)
    {
    }
    QString Text() const { return text_; }
    void setText(const QString& t);
    int Width() const { return width_; }
    void setWidth(int w);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void setBevel(TStatusPanelBevel b);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment a);

private:
    TStatusBar* bar_;
    QString text_;
    int width_ = 50;
    TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* bar)
        : bar_(bar)
    {
    }
    int Count() const { return int(items_.size()); }
    TStatusPanel* Add();
    // nullptr for an index out of range.
    TStatusPanel* Items(int i) const;
    void Clear();

private:
    TStatusBar* bar_;
    std::vector<std::unique_ptr<TStatusPanel>> items_;
};

class TStatusBar : public TControl {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    TStatusPanels& Panels() { return panels_; }
    const TStatusPanels& Panels() const { return panels_; }
    // One panel across the bar showing SimpleText instead of the panels.
    bool SimplePanel() const { return simplePanel_; }
    void setSimplePanel(bool on);
    QString SimpleText() const { return simpleText_; }
    void setSimpleText(const QString& t);
    bool SizeGrip() const { return sizeGrip_; }
    void setSizeGrip(bool on);
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);
    // Whether the bar holds child controls of its own.
    virtual bool AcceptsControls() const { return false; }

    // The rectangle of panel i (left, top, width, height) in the bar.
    QRect PanelRect(int i) const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TStatusPanels panels_{this};
    bool simplePanel_ = false;
    QString simpleText_;
    bool sizeGrip_ = true;
    TColor fontColor_ = clWindowText;
};
