// The details panel's part of the main window that the refresh needs now:
// closing the panel. Opening and refilling it come with the panel itself.
#include "app/STSMain.h"

void TForm1::DetCloseButClick(QObject*)
{
    // A panel that is not open has no height to give back: a second close
    // must not shrink the window below its rows.
    if (!PanDet->isHidden()) {
        PanDet->hide();
        SetPanKestrixHeight(PanKestrix->height() - PanDet->height());
        setHeight(Height() - PanDet->height());
    }
    // Every speed button, the drive buttons of drives that do not answer too.
    for (QObject* c : Components())
        if (auto* b = qobject_cast<TLbSpeedButton*>(c))
            b->setEnabled(true);
}

// Opens the panel under the clicked drive's row, comes with the panel.
void TForm1::AClick(QObject*) {}

// Refills the open panel for the drive in DInfo, comes with the panel.
void TForm1::DetVis(QObject*) {}
