#pragma once

#include <QString>
#include <vector>

#include "Control.h"

// The toolkit's header bar: a row of titled sections of given widths, drawn
// as buttons or flat. Sections that are not clickable only show their text.
enum class THeaderStyle { hsButtons, hsFlat };

class THeaderSection {
public:
    QString Text;
    int Width = 50;
    TAlignment Alignment = TAlignment::taLeftJustify;
    bool AllowClick = true;
};

class THeaderControl : public TControl {
    Q_OBJECT
public:
    explicit THeaderControl(QWidget* parent = nullptr);

    int SectionCount() const { return int(sections_.size()); }
    THeaderSection& Section(int i) { return sections_.at(std::size_t(i)); }
    const THeaderSection& Section(int i) const { return sections_.at(std::size_t(i)); }
    THeaderSection& AddSection(const QString& text, int width, TAlignment alignment = TAlignment::taLeftJustify);
    // Changes the text of section i (nothing for an index out of range).
    void setSectionText(int i, const QString& text);
    // Left edge of section i in the bar.
    int SectionLeft(int i) const;

    THeaderStyle Style() const { return style_; }
    void setStyle(THeaderStyle s);
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<THeaderSection> sections_;
    THeaderStyle style_ = THeaderStyle::hsButtons;
    TColor fontColor_ = clWindowText;
};
