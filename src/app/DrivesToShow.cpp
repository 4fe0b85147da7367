// The main window's side of the "Drives to show" dialog: building and
// filling it, and what the dialog changes here as its boxes are clicked.
#include "app/STSMain.h"
#include "drives/cxDrive10.h"

namespace {

constexpr int kRowHeight = 20;
// The layout's allowance for the header and a tool window's caption and
// frame below the top panel.
constexpr int kHeaderAndFrame = 40;

} // namespace

TDShowForm* TForm1::NewDShowForm()
{
    // 1. Built without a parent: the application owns it, and it frees
    // itself when it closes. Its creation ticks the boxes from the flags.
    auto* dialog = new TDShowForm(*this);

    // 2. - 3. Rows of the existing drives, by this window's rule.
    for (TDShowForm::Row& row : dialog->Rows)
        ShowDrive(Slot(row.Letter).RootPath(), row.P);
    const int n = dialog->VisibleRows();

    // 4. Every row gets the shell's name of its drive, hidden rows too; a
    // drive the shell does not know gets an empty text.
    for (TDShowForm::Row& row : dialog->Rows)
        row.TL->setCaption(TDriveShellInfo(Slot(row.Letter).RootPath()).DisplayName());

    // 5.
    dialog->setOuterHeight(kRowHeight * n + dialog->TopPan->height() + kHeaderAndFrame);
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
