#include "DShow.h"

#include <QShowEvent>
#include <algorithm>
#include <stdexcept>

#include "platform/Platform.h"
#include "toolkit/Fonts.h"
#include "toolkit/Pictures.h"
#include "widgets/ProUrl.h"

namespace {

constexpr int kClientWidth = 230;
constexpr int kTopPanHeight = 30;

} // namespace

TDShowForm::TDShowForm(TDShowHost& host)
    : TForm(nullptr)
    , host_(host)
{
    setName(QStringLiteral("DShowForm"));
    BuildLayout();
    OnCreate = [this](QObject* s) { FormCreate(s); };
    OnClose = [this](QObject* s, TCloseAction& a) { FormClose(s, a); };
    DoCreate();
}

TDShowForm::~TDShowForm()
{
    DoDestroy();
}

void TDShowForm::BuildLayout()
{
    setCaption(QStringLiteral("Drives to show"));
    // A tool window's border with only a close box.
    setBorderStyle(TFormBorderStyle::bsToolWindow);
    setBorderIcons({biSystemMenu});
    setColor(clBtnFace);
    setFont(DefaultFormFont());
    setFixedSize(kClientWidth, kTopPanHeight + kHeaderHeight);

    TopPan = new TPanel(this);
    TopPan->setName(QStringLiteral("TopPan"));
    TopPan->setGeometry(0, 0, kClientWidth, kTopPanHeight);
    TopPan->setAlign(TAlign::alTop);
    RegisterComponent(TopPan);

    SpeedButton1 = new TLbSpeedButton(TopPan);
    SpeedButton1->setName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(4, 4, 33, 23);
    SpeedButton1->setFlat(true);
    SpeedButton1->setGlyph(GlyphPicture(QStringLiteral("dshowclose")));
    SpeedButton1->setAlignment(TAlignment::taCenter);
    SpeedButton1->setCursor(ProCursor(crProHandPoint));
    SpeedButton1->OnClick = [this](QObject* s) { SpeedButton1Click(s); };
    RegisterComponent(SpeedButton1);

    HeaderControl1 = new THeaderControl(this);
    HeaderControl1->setName(QStringLiteral("HeaderControl1"));
    HeaderControl1->setGeometry(0, kTopPanHeight, kClientWidth, kHeaderHeight);
    HeaderControl1->AddSection(QStringLiteral("Available...."), 106);
    HeaderControl1->AddSection(QStringLiteral("Type...."), 130);
    HeaderControl1->setAlign(TAlign::alTop);
    RegisterComponent(HeaderControl1);

    const int firstRowTop = kTopPanHeight + kHeaderHeight;
    for (int i = 0; i < int(Rows.size()); ++i) {
        Row& row = Rows[std::size_t(i)];
        row.Letter = QLatin1Char(char('C' + i));
        const QString x(row.Letter);

        row.P = new TGPanel(this);
        row.P->setName(QStringLiteral("P") + x);
        row.P->hide();
        row.P->setActive(false);
        row.P->setGeometry(0, firstRowTop + kDriveRowHeight * i, kClientWidth, kDriveRowHeight);
        row.P->setAlign(TAlign::alTop);
        RegisterComponent(row.P);

        row.C = new THyperCheckBox(row.P);
        row.C->setName(QStringLiteral("C") + x);
        row.C->setGeometry(8, 2, 80, 17);
        row.C->setCaption(QStringLiteral("Drive ") + x);
        row.C->setColorEnter(clRed);
        row.C->setColorLeave(clBlack);
        row.C->setFontColor(clRed); // red until the pointer first leaves it
        row.C->OnMouseUp = [this](QObject* s, Qt::MouseButton b, Qt::KeyboardModifiers k, int px, int py) {
            CCMouseUp(s, b, k, px, py);
        };
        RegisterComponent(row.C);

        row.TL = new TLabel(row.P);
        // Named after the drive number counted from A = 1: TL3 for C.
        row.TL->setName(QStringLiteral("TL%1").arg(row.Letter.unicode() - 'A' + 1));
        row.TL->move(116, 4);
        row.TL->setTransparent(true);
        // Display names are the shell's text, never accelerator markup.
        row.TL->setShowAccelChar(false);
        row.TL->setCaption(QStringLiteral(".............."));
        RegisterComponent(row.TL);
    }
}

TDShowForm::Row& TDShowForm::RowOf(QChar letter)
{
    const int i = letter.toUpper().unicode() - 'C';
    if (i < 0 || i >= int(Rows.size()))
        throw std::out_of_range("no drive row for this letter");
    return Rows[std::size_t(i)];
}

void TDShowForm::setOuterHeight(int h)
{
    setFixedSize(kClientWidth, std::max(0, h - kFrameAllowance));
    Realign();
}

int TDShowForm::VisibleRows() const
{
    int n = 0;
    for (const Row& row : Rows)
        if (!row.P->isHidden())
            ++n;
    return n;
}

void TDShowForm::showEvent(QShowEvent* e)
{
    // Centred on the screen whenever it is shown.
    if (!e->spontaneous()) {
        const QSize screen = CurrentPlatform().ScreenSize();
        move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    }
    TForm::showEvent(e);
}

void TDShowForm::FormCreate(QObject*)
{
    for (Row& row : Rows)
        row.C->setChecked(host_.ShowFlag(row.Letter)->Checked());
}

void TDShowForm::CCMouseUp(QObject* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    Row* row = nullptr;
    for (Row& r : Rows)
        if (r.C == sender)
            row = &r;
    if (!row)
        return;
    TGPanel* pan = host_.DriveRow(row->Letter);
    TMenuItem* flag = host_.ShowFlag(row->Letter);
    // The box decides, whether or not this release toggled it.
    if (!row->C->Checked()) {
        pan->hide();
        host_.ResizeDriveArea(-kDriveRowHeight);
        flag->setChecked(false);
    } else {
        pan->show();
        host_.ResizeDriveArea(kDriveRowHeight);
        flag->setChecked(true);
    }
    host_.RunPressedUnitButtons();
    host_.TotalBar(sender);
    // The full refresh sets both heights from the rows shown, whatever the
    // adjustments above did.
    host_.DriveShow(sender);
}

void TDShowForm::SpeedButton1Click(QObject*)
{
    Close();
}

void TDShowForm::FormClose(QObject*, TCloseAction& action)
{
    for (Row& row : Rows)
        host_.ShowFlag(row.Letter)->setChecked(row.C->Checked());
    action = TCloseAction::caFree;
}
