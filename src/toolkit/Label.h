// The toolkit's plain label: caption, alignment, auto-size, transparency,
// word wrap and vertical layout. The effect labels derive from it.
#pragma once

#include <QString>

#include "Control.h"

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

    // Re-fits an auto-sized label to its caption (keeping the right edge of a
    // right-justified label).
    void AdjustBounds();

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Qt text flags for the current alignment, wrap and accelerator settings.
    int TextFlags() const;

private:
    QString caption_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool showAccelChar_ = true;
    TColor fontColor_ = clWindowText;
};
