#include "shell/Size.h"

#include <QCoreApplication>
#include <QFontMetrics>

#include "platform/Platform.h"
#include "toolkit/Fonts.h"
#include "toolkit/Cursors.h"
#include "toolkit/Pictures.h"

namespace {

constexpr int kLineStep = 16;
constexpr int kFirstLine = 16;

// A framed panel: a lowered outer and a raised inner bevel, two lines each.
TProPanel* Frame(QWidget* parent, const QString& name, int x, int y, int w, int h)
{
    auto* p = new TProPanel(parent);
    p->setName(name);
    p->setGeometry(x, y, w, h);
    p->setBevelOuter(TPanelBevel::bvLowered);
    p->setBevelInner(TPanelBevel::bvRaised);
    p->setBevelWidth(2);
    p->setColor(clBtnFace);
    return p;
}

TGroupBox* Group(QWidget* parent, const QString& name, int x, int y, int w, int h, const QString& caption)
{
    auto* g = new TGroupBox(parent);
    g->setName(name);
    g->setGeometry(x, y, w, h);
    g->setCaption(caption);
    g->setFontColor(clBlack);
    return g;
}

// The lines of a group, 16 pixels apart from the top 16: from the left edge
// `left`, or with their right ends lined up at `right` when that is given.
void Lines(TGroupBox* group, const QStringList& lines, int left, int right = -1)
{
    int top = kFirstLine;
    for (const QString& text : lines) {
        auto* l = new TLabel(group);
        l->setFontColor(clBlack);
        l->setTransparent(true);
        l->setCaption(text);
        l->move(right < 0 ? left : right - l->width(), top);
        top += kLineStep;
    }
}

} // namespace

QStringList TInfoForm::Fat16Lines()
{
    return {QStringLiteral("16 - 127  MB =   2 KB"), QStringLiteral("128 - 255  MB =   4 KB"),
            QStringLiteral("256 - 511  MB =   8 KB"), QStringLiteral("512 - 1023  MB = 16 KB"),
            QStringLiteral("1024 - 2047  MB = 32 KB")};
}

QStringList TInfoForm::Fat32Lines()
{
    return {QStringLiteral("< 512 MB not supported"), QStringLiteral("512 - 8191 MB =   4 KB"),
            QStringLiteral("8192 - 16383 MB =   8 KB"), QStringLiteral("16384 - 32767 MB = 16 KB"),
            QStringLiteral("> 32 GB = 32 KB")};
}

QStringList TInfoForm::NtfsLines()
{
    return {QStringLiteral("< 512 MB =   0.5 KB"), QStringLiteral("512 - 1024 MB =   1 KB"),
            QStringLiteral("1025 - 2048 MB =   2 KB"), QStringLiteral("> 2049 MB =   4 KB")};
}

QStringList TInfoForm::MeasureLines()
{
    return {QStringLiteral("4 Bits = 1 Nibble"),
            QStringLiteral("2 Nibbles = 1 Byte"),
            QStringLiteral("8 Bits = 1 Byte"),
            QStringLiteral("1024 Bytes = 1 Kilobyte  (KB)"),
            QStringLiteral("1024 Kilobytes = 1 Megabyte  (MB)"),
            QStringLiteral("1024 Megabytes = 1 Gigabyte  (GB)"),
            QStringLiteral("1024 Gigabytes = 1 Terabyte  (TB)")};
}

QStringList TInfoForm::WastedSpaceLines()
{
    return {QStringLiteral("Wasted space is the difference between the "),
            QStringLiteral("total size of your files and the space that "),
            QStringLiteral("Windows allocates for them on your hard disk."),
            QString(),
            QStringLiteral("Windows stores files in little blocks called  "),
            QStringLiteral("clusters that vary in size depending on the "),
            QStringLiteral("size of the partition. If a file fills, for example, "),
            QStringLiteral("three and one half clusters, the rest of that "),
            QStringLiteral("half cluster is wasted space."),
            QString(),
            QStringLiteral("Think of a pile of boxes in a warehouse, the "),
            QStringLiteral("empty space inside the boxes surrounding "),
            QStringLiteral("their contents is wasted. A half empty big box "),
            QStringLiteral("has more wasted space than a half empty "),
            QStringLiteral("small one."),
            QString()};
}

TInfoForm::TInfoForm()
    : TForm(nullptr)
{
    InitResources();
    setName(QStringLiteral("InfoForm"));
    setCaption(QStringLiteral("Info"));
    setBorderStyle(TFormBorderStyle::bsToolWindow);
    setBorderIcons({biSystemMenu, biMinimize});
    // The first cell of the info button's glyph.
    const QImage glyph = GlyphPicture(QStringLiteral("sizeinfo"));
    setWindowIcon(QPixmap::fromImage(glyph.copy(0, 0, glyph.height(), glyph.height())));
    // Modeless and independent: it neither keeps the program running nor
    // goes with the main window. At the program's end it is released.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &QObject::deleteLater);
    setColor(clBtnFace);
    setFont(DefaultFormFont());
    setFixedSize(557, 330);
    const QSize screen = CurrentPlatform().ScreenSize();
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);

    Panel1 = new TPanel(this);
    Panel1->setName(QStringLiteral("Panel1"));
    Panel1->setBevelOuter(TPanelBevel::bvNone);
    Panel1->setColor(clBtnFace);
    Panel1->setFontColor(clBlack);
    Panel1->setAlign(TAlign::alClient);
    RegisterComponent(Panel1);

    // 1. Cluster sizes: three columns in one group.
    ProPanel1 = Frame(Panel1, QStringLiteral("ProPanel1"), 6, 6, 543, 155);
    RegisterComponent(ProPanel1);
    GroupBox1 = Group(ProPanel1, QStringLiteral("GroupBox1"), 8, 8, 527, 139,
                      QStringLiteral("Standard cluster sizes and corresponding supported drive sizes (approx)  "));
    RegisterComponent(GroupBox1);
    GroupFat16 = Group(GroupBox1, QStringLiteral("GroupFat16"), 8, 22, 152, 105, QStringLiteral(" FAT 16 "));
    GroupFat32 = Group(GroupBox1, QStringLiteral("GroupFat32"), 168, 22, 160, 105, QStringLiteral(" FAT32 "));
    GroupNtfs = Group(GroupBox1, QStringLiteral("GroupNtfs"), 336, 22, 183, 105,
                      QStringLiteral("NTFS  (NT 3.51 and above)"));
    for (TGroupBox* g : {GroupFat16, GroupFat32, GroupNtfs})
        RegisterComponent(g);
    Lines(GroupFat16, Fat16Lines(), 0, 140);
    Lines(GroupFat32, Fat32Lines(), 0, 148);
    Lines(GroupNtfs, NtfsLines(), 0, 150);

    // 2. Measures.
    ProPanel2 = Frame(Panel1, QStringLiteral("ProPanel2"), 6, 168, 224, 157);
    ProPanel2->setBorderColor(clBlack);
    RegisterComponent(ProPanel2);
    GroupMeasures = Group(ProPanel2, QStringLiteral("GroupMeasures"), 8, 8, 208, 141, QStringLiteral(" Measures "));
    RegisterComponent(GroupMeasures);
    Lines(GroupMeasures, MeasureLines(), 12);

    // 3. What wasted space is, in a memo whose edits go with the window.
    ProPanel3 = Frame(Panel1, QStringLiteral("ProPanel3"), 240, 168, 286, 157);
    RegisterComponent(ProPanel3);
    GroupWasted = Group(ProPanel3, QStringLiteral("GroupWasted"), 8, 8, 270, 141,
                        QStringLiteral("What is wasted space?"));
    RegisterComponent(GroupWasted);
    Memo1 = new TMemo(GroupWasted);
    Memo1->setName(QStringLiteral("Memo1"));
    Memo1->setGeometry(15, 18, 240, 113);
    Memo1->setVerticalScrollBar(true);
    Memo1->setLines(WastedSpaceLines());
    RegisterComponent(Memo1);

    // 4. The close button.
    CloseBut = new TLbSpeedButton(Panel1);
    CloseBut->setName(QStringLiteral("CloseBut"));
    CloseBut->setGeometry(528, 232, 25, 23);
    CloseBut->setFlat(true);
    CloseBut->setGlyph(GlyphPicture(QStringLiteral("detclose")));
    CloseBut->setAlignment(TAlignment::taCenter);
    CloseBut->setCursor(ProCursor(crProHandPoint));
    CloseBut->OnClick = [this](QObject* s) { CloseButClick(s); };
    RegisterComponent(CloseBut);

    OnClose = [this](QObject* s, TCloseAction& a) { FormClose(s, a); };
    DoCreate();
}

TInfoForm::~TInfoForm()
{
    DoDestroy();
}

void TInfoForm::CloseButClick(QObject*)
{
    Close();
}

void TInfoForm::FormClose(QObject*, TCloseAction& action)
{
    action = TCloseAction::caFree;
}
