// The toolkit's plain label: caption, alignment, auto-size, transparency,
// word wrap and vertical layout. The effect labels derive from it.
#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>
#include <cstdint>

#include "Control.h"

class TPanel;

class TLabel : public TControl {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment a);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);
    TTextLayout Layout() const { return layout_; }
    void setLayout(TTextLayout l);
    bool ShowAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool on);
    // The colour of the text (the layout's Font.Color).
    TColor FontColor() const { return fontColor_; }
    virtual void setFontColor(TColor c);
    // The layout's font; also re-fits an auto-sized label.
    void setLabelFont(const QFont& f);

    // True while the label paints its spot of the panel below it before its
    // text (a transparent label on a panel, no sibling below reaching in).
    bool CopiesFace() const { return transparent_ && testAttribute(Qt::WA_OpaquePaintEvent); }

    // Re-fits an auto-sized label to its caption (keeping the right edge of a
    // right-justified label).
    void AdjustBounds();

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    // True when the label's paint covers every pixel of it: an opaque label,
    // or a transparent one that copies its spot of the panel below (Qt then
    // leaves the panel unpainted behind it). The effect labels paint their
    // own way and say false.
    virtual bool CoversItself() const;
    // Qt text flags for the current alignment, wrap and accelerator settings.
    int TextFlags() const;

private:
    // The panel a transparent label takes its background from: its parent,
    // when no sibling below the label reaches into it; else nullptr.
    TPanel* FaceSource() const;
    // The visible siblings below the label (earlier children) that reach
    // into it: they show through a transparent label. Those above paint
    // over it anyway.
    QList<QWidget*> SiblingsBelow() const;
    // Tells Qt whether the label covers itself, after anything that can
    // change the answer (transparency, place, size, parent, stacking).
    void UpdateCover();

    // The copy of the panel's face behind a label that copies it, for the
    // panel look, place and colour it was taken at: figures change far more
    // often than the panel.
    struct KeptFace {
        QImage picture;
        std::uint64_t generation = 0;
        QRect place;
        TColor color = 0;
    };
    KeptFace face_;
    // The size AdjustBounds measured last, with what it measured.
    struct Fit {
        bool valid = false;
        QString caption;
        int flags = 0;
        int wrapWidth = -1;
        QFont font;
        QSize size;
    };
    Fit fit_;

    QString caption_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool showAccelChar_ = true;
    TColor fontColor_ = clWindowText;
};
