// The details panel's part of the main window: opening it under a drive's
// row, refilling it, closing it, and the volume and cluster figures.
//
// The walk behind the panel runs on the GUI thread and lets the event loop
// run, so every handler here may be called while a walk is under way. Then
// a letter button stops the walk and opens its own drive once the walk has
// stopped, a refill is refused (the running walk's results come out in the
// unit chosen by then), and the close button stops the walk and closes the
// panel. No handler frees or touches the tree a walk is filling, and only a
// walk that ran to its end opens the panel, so the window grows by the
// panel's height once.
#include "app/FormatNumber.h"
#include "app/STSMain.h"

void TForm1::AClick(QObject* sender)
{
    DriveSlot* slot = nullptr;
    for (DriveSlot& s : Slots)
        if (s.Button == sender)
            slot = &s;
    if (!slot)
        return;
    if (ScanRunning) {
        pendingDriveClick_ = sender;
        ScanStop = true;
        return;
    }
    // A drive that does not answer (its button enabled again by a close)
    // has no figures of its own to show.
    if (!DriveAvailable(slot->Letter))
        return;

    // The window shrinks back before the new drive's panel opens.
    if (!PanDet->isHidden())
        DetCloseButClick(sender);

    // Directly under the clicked row: the bottom of the row is where the
    // next shown row begins, and the panel goes first among equals.
    DetDrive = slot->Letter;
    DInfo->setDrive(QString(slot->Letter));
    PanDet->move(PanDet->x(), slot->Pan->y() + slot->Pan->height());
    slot->Button->setEnabled(false);

    FillDriveDetails();
    Sort();
    if (!Duf1() || !slot->RowVisible()) {
        // Stopped (or its row went away meanwhile): the panel stays closed.
        slot->Button->setEnabled(true);
        OpenPendingDrive();
        return;
    }

    if (PanDet->isHidden()) {
        PanDet->show();
        SetPanKestrixHeight(PanKestrix->height() + PanDet->height());
        setHeight(Height() + PanDet->height());
    }
}

void TForm1::DetVis(QObject*)
{
    if (ScanRunning)
        return;
    if (!DetDrive.isNull())
        DInfo->setDrive(QString(DetDrive));
    FillDriveDetails();
    Sort();
    if (!Duf1())
        OpenPendingDrive();
}

void TForm1::DetCloseButClick(QObject*)
{
    // The walk of a refill is not wanted once its panel goes.
    if (ScanRunning)
        ScanStop = true;
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

void TForm1::Sort()
{
    // A drive whose cluster query never succeeded has no clusters: its
    // cluster size reads 0.
    const auto clusters = std::int64_t(DInfo->Clusters());
    DetLClus->setCaption(QString::number(clusters > 0 ? DInfo->TotalDiskSpace() / clusters / 1024 : 0));
    const QString pattern = QStringLiteral("#,###  ;;0  ");
    DetLCTotal->setCaption(FormatNumber(DInfo->Clusters(), pattern));
    DetLCFree->setCaption(FormatNumber(DInfo->FreeClusters(), pattern));
}

void TForm1::FillDriveDetails()
{
    DetLVol->setCaption(DInfo->VolumeName());
    DetLSN->setCaption(DInfo->SerialNumber());
    DetLFS->setCaption(DInfo->FileSystemType());
    LDrive->setCaption(DInfo->Drive() + QLatin1Char(':'));
    DetBpS->setCaption(QString::number(DInfo->BytesPerSector()));
    DetSpC->setCaption(QString::number(DInfo->SectorsPerCluster()));
    DetAvDrv->setCaption(DInfo->DriveType());
}

void TForm1::OpenPendingDrive()
{
    // After the handler that ran the stopped walk has returned; a close or a
    // reload in between forgets the click.
    if (pendingDriveClick_)
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QPointer<QObject> next = pendingDriveClick_;
                pendingDriveClick_ = nullptr;
                if (next && !ScanRunning)
                    AClick(next);
            },
            Qt::QueuedConnection);
}
