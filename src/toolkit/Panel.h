// The toolkit's standard panel: bevels, a background colour and a centred
// caption. The gradient and effect panels derive from it.
#pragma once

#include <QImage>
#include <QString>

#include "Control.h"

class GdiCanvas;

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TControl {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    TPanelBevel BevelInner() const { return bevelInner_; }
    void setBevelInner(TPanelBevel b);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TPanelBevel b);
    int BevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);
    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment a);
    // The colour of the caption text (the layout's Font.Color).
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);

protected:
    void paintEvent(QPaintEvent* e) override;
    // Composes the standard panel picture: bevels, border, background and
    // caption. Subclasses paint over it.
    virtual void PaintPanel(GdiCanvas& canvas);

private:
    QImage picture_; // the composed picture, reused while the size holds
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TColor fontColor_ = clWindowText;
};
