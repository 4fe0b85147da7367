// The main window's side of the "Drives to show" dialog: building and
// filling it, and what the dialog changes here as its boxes are clicked.
#include "app/STSMain.h"
#include "drives/cxDrive10.h"

TDShowForm* TForm1::NewDShowForm()
{
    // Built without a parent: the application owns it, and it frees
    // itself when it closes. Its creation ticks the boxes from the flags.
    auto* dialog = new TDShowForm(*this);

    // Rows of the existing drives, by this window's rule.
    for (TDShowForm::Row& row : dialog->Rows)
        ShowDrive(Slot(row.Letter).RootPath(), row.P);
    const int n = dialog->VisibleRows();

    // Every row gets the shell's name of its drive, hidden rows too; a
    // drive the shell does not know gets an empty text.
    for (TDShowForm::Row& row : dialog->Rows)
        row.TL->setCaption(TDriveShellInfo(Slot(row.Letter).RootPath()).DisplayName());

    // The dialog's height as the layout counts it (see kHeaderAndFrame).
    dialog->setOuterHeight(kDriveRowHeight * n + dialog->TopPan->height() + TDShowForm::kHeaderAndFrame);
    return dialog;
}

void TForm1::Options1Click(QObject*)
{
    NewDShowForm()->ShowModal();
}

TMenuItem* TForm1::ShowFlag(QChar letter)
{
    return Slot(letter).Flag;
}

TGPanel* TForm1::DriveRow(QChar letter)
{
    return Slot(letter).Pan;
}

void TForm1::ResizeDriveArea(int delta)
{
    SetPanKestrixHeight(PanKestrix->height() + delta);
    setHeight(height() + delta);
}
