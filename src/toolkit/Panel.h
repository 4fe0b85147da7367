// The toolkit's standard panel: bevels, a background colour and a centred
// caption. The gradient and effect panels derive from it.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

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

    // The panel's picture with `area` (panel coordinates) composed afresh,
    // for a transparent child that copies its spot of the face instead of
    // having the panel repainted behind it. Only `area` is current.
    const QImage& Face(const QRect& area);
    // Which look the face has: a new number after every change of it (any
    // panel's numbers differ), so a child keeping a copy of its spot knows
    // when to take it again.
    std::uint64_t FaceGeneration() const { return faceGeneration_; }

    void setColor(TColor c) override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Schedules the repaint after a change of the panel's look, with the
    // transparent labels that copy their spot of it: Qt takes those for
    // opaque and leaves them out of the panel's own repaint.
    void FaceChanged();
    // Composes the standard panel picture: bevels, border, background and
    // caption. Subclasses paint over it.
    virtual void PaintPanel(GdiCanvas& canvas);

private:
    // Composes the picture where `region` lies (the rest keeps what the last
    // paints left there).
    void Compose(const QRegion& region);

    QImage picture_; // the composed picture, reused while the size holds
    std::uint64_t faceGeneration_;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TColor fontColor_ = clWindowText;
};
