// The colour schemes: the bottom panel keeps the current scheme as its three
// gradient colours, and every re-application spreads them from there.
#include "app/ColorSchemes.h"
#include "app/STSMain.h"

void TForm1::ColorSort(QObject* sender)
{
    // The scheme shown, or the one just picked from the menu.
    SchemeColors c{PanGuage->Color_1(), PanGuage->Color_2(), PanGuage->Color_3()};
    for (std::size_t i = 0; i < Cs.size(); ++i)
        if (sender == Cs[i])
            c = kSchemes[i];

    // The targets, in this order. A gradient panel repaints on every write,
    // with its children, and every activation comes through here: panels
    // that already show the scheme are left alone.
    for (TGPanel* p : {TopPanel, PanGuage}) {
        if (p->Color_1() == c.Light && p->Color_2() == c.Middle && p->Color_3() == c.Dark)
            continue;
        p->setColor_1(c.Light);
        p->setColor_2(c.Middle);
        p->setColor_3(c.Dark);
    }
    StatBar->setColor(c.Dark);
    setColor(c.Dark);
    for (TControl* memoryPanel : {GM_RPan, GM_SPan, GM_LPan, LRAM, LSwap})
        memoryPanel->setColor(c.Light);
    // A pressed button takes the middle colour as its face, a released one
    // the light colour, so the pressed unit stands out in every scheme.
    for (TLbSpeedButton* b : ComponentsOf<TLbSpeedButton>()) {
        const bool down = b->Down();
        b->setColor(down ? c.Middle : c.Light);
        b->setLightColor(down ? c.Light : c.Middle);
        b->setShadowColor(c.Dark);
    }
    if (PanDet->Color_2() != c.Dark)
        PanDet->setColor_2(c.Dark);
    for (TGauge* g : ComponentsOf<TGauge>())
        g->setBackColor(c.Light);

    // The check marks follow what is now shown.
    Colors1Click(sender);
}

void TForm1::Colors1Click(QObject*)
{
    // A click on a scheme item does not tick it by itself: the mark goes to
    // the item whose middle colour the bottom panel shows, and to none when
    // no scheme's does.
    for (TMenuItem* item : Cs)
        item->setChecked(false);
    for (std::size_t i = 0; i < Cs.size(); ++i)
        if (PanGuage->Color_2() == kSchemes[i].Middle)
            Cs[i]->setChecked(true);
}
