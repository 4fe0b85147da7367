// The main window's layout: every control with its name, place, size,
// colours, font, caption and hint, registered in the order of the window's
// component list (the settings store saves the check marks in that order).
#include <QKeySequence>

#include "app/STSMain.h"
#include "toolkit/Fonts.h"
#include "toolkit/Pictures.h"
#include "toolkit/Shape.h"
#include "widgets/ProUrl.h"

namespace {

constexpr TColor kPaleBlue = 16774621;   // 0xFFF5DD: PanKestrix, memory gauge frames
constexpr TColor kRowColor1 = 4276545;   // 0x414141
constexpr TColor kRowColor2 = 2105888;   // 0x202220
constexpr TColor kToolFace = 16245460;   // 0xF7E2D4: face of the square buttons
constexpr TColor kToolDark = 15436103;   // 0xEB8947: their down and shadow colour
constexpr TColor kToolLight = 16303781;  // 0xF8C6A5: their light colour
constexpr TColor kSchemeMiddle = 0xC0C0C0; // the Gray scheme's middle colour
constexpr TColor kSchemeDark = 0x808080;   // and its dark one

constexpr int kFirstRowTop = 62; // below the top panel (44) and the header (18)

QFont SansSerif(bool bold = false) { return DesignFont(QStringLiteral("MS Sans Serif"), -11, bold); }
QFont MicrosoftSansSerif() { return DesignFont(QStringLiteral("Microsoft Sans Serif"), -11); }
QFont Tahoma(bool bold = false) { return DesignFont(QStringLiteral("Tahoma"), -11, bold); }

} // namespace

TForm1::TForm1(QWidget* parent)
    : TForm(parent)
{
    setName(QStringLiteral("Form1"));
    BuildLayout();
    OnCreate = [this](QObject* s) { FormCreate(s); };
    OnShow = [this](QObject* s) { FormShow(s); };
    OnHide = [this](QObject* s) { FormHide(s); };
    OnActivate = [this](QObject* s) { FormActivate(s); };
    OnCloseQuery = [this](QObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](QObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](QObject* s) { FormDestroy(s); };
    DoCreate();
}

void TForm1::BuildLayout()
{
    InitResources();
    setCaption(QStringLiteral("Tolvane   -   Kestrix 4.0"));
    // Single border: title, system menu and minimise button, no maximise,
    // not resizable (its size is fixed).
    setBorderStyle(TFormBorderStyle::bsSingle);
    setBorderIcons({biSystemMenu, biMinimize});
    setWindowIcon(QPixmap::fromImage(GlyphPicture(QStringLiteral("kestrix"))));
    setColor(clGray);
    setFont(DefaultFormFont());
    move(314, 93);
    setFixedSize(686, 315);

    BuildMainMenu();

    PanKestrix = new TProPanel(this);
    PanKestrix->setName(QStringLiteral("PanKestrix"));
    PanKestrix->setBevelOuter(TPanelBevel::bvNone);
    PanKestrix->setColor(kPaleBlue);
    PanKestrix->setGeometry(0, 0, 686, 152);
    PanKestrix->setAlign(TAlign::alTop);
    RegisterComponent(PanKestrix);

    BuildTopPanel();
    BuildHeader();
    BuildRows();
    BuildDetailsPanel();
    BuildBottomPanel();
    BuildStatusBar();

    DInfo = new TDiskInfo(this);
    DInfo->setName(QStringLiteral("DInfo"));
    RegisterComponent(DInfo);

    // The worker started around each walk, in its group, with no handlers.
    BMDThreadGroup1 = new TBMDThreadGroup(this);
    BMDThreadGroup1->setName(QStringLiteral("BMDThreadGroup1"));
    RegisterComponent(BMDThreadGroup1);
    BMDThread1 = new TBMDThread(this);
    BMDThread1->setName(QStringLiteral("BMDThread1"));
    BMDThread1->setThreadGroup(BMDThreadGroup1);
    BMDThread1->setUpdateEnabled(true);
    RegisterComponent(BMDThread1);

    // The settings store keeps its defaults: INIVAL.INI beside the program,
    // chained into creation and destruction once the layout is complete.
    IniVal = new TIniVal(this);
    IniVal->setName(QStringLiteral("IniVal"));
    RegisterComponent(IniVal);
    // The position saver loads as the layout completes, before FormCreate.
    SavedForm1 = new TSavedForm(this);
    SavedForm1->setName(QStringLiteral("SavedForm1"));
    SavedForm1->setIniFile(QStringLiteral("kespos.ini"));
    SavedForm1->setSavedArgs({saPosition});
    SavedForm1->setSavedName(QStringLiteral("Form1"));
    RegisterComponent(SavedForm1);

    // Scratch values of the walk on the form itself.
    for (TLabel** l : {&LFilesGross, &LFoldersGross}) {
        *l = new TLabel(this);
        (*l)->setName(l == &LFilesGross ? QStringLiteral("LFilesGross") : QStringLiteral("LFoldersGross"));
        (*l)->setCaption(QStringLiteral("0"));
        (*l)->hide();
        RegisterComponent(*l);
    }

    BuildActions();
    BuildTrayMenu();
    BuildDesktopComponents();
    setHeight(315);
}

namespace {

TLabel* NewLabel(QWidget* parent, const QString& name, int x, int y, const QString& caption, TColor color,
                 bool transparent = true)
{
    auto* l = new TLabel(parent);
    l->setName(name);
    l->move(x, y);
    l->setTransparent(transparent);
    l->setFontColor(color);
    l->setCaption(caption);
    return l;
}

// A right-justified figure label of fixed size.
TLabel* FigureLabel(QWidget* parent, const QString& name, int x, int y, TColor color)
{
    auto* l = new TLabel(parent);
    l->setName(name);
    l->setAutoSize(false);
    l->setAlignment(TAlignment::taRightJustify);
    l->setTransparent(true);
    l->setFontColor(color);
    l->setGeometry(x, y, 94, 13);
    l->setCaption(QStringLiteral("0"));
    return l;
}

// A flat speed button with a glyph and a hint, as on the toolbar.
TLbSpeedButton* GlyphButton(QWidget* parent, const QString& name, int x, int y, int size, const QString& glyph,
                            const QString& hint)
{
    auto* b = new TLbSpeedButton(parent);
    b->setName(name);
    b->setGeometry(x, y, size, size);
    b->setFlat(true);
    b->setGlyph(GlyphPicture(glyph));
    b->setAlignment(TAlignment::taCenter);
    b->setHint(hint);
    b->setShowHint(true);
    b->setCursor(ProCursor(crProHandPoint));
    return b;
}

// The gauges of the rows and of the totals: a lowered bar with the
// lime-yellow-red ramp on black.
TSTGauge* BarGauge(QWidget* parent, const QString& name, int x, int y, int w, int h)
{
    auto* g = new TSTGauge(parent);
    g->setName(name);
    g->setGeometry(x, y, w, h);
    g->setBorder(TGaugeBorder::gbLowered);
    g->setShape(TGaugeShape::gsHorzRect);
    g->setGradientFill(true);
    g->setUseMedianColor(true);
    g->setBackcolor(clBlack);
    g->setBlendColor(clBtnFace);
    return g;
}

// The percentage boxes: text only, yellow on black, bold.
TGauge* TextGauge(QWidget* parent, const QString& name, int x, int y, int w, int h)
{
    auto* g = new TGauge(parent);
    g->setName(name);
    g->setGeometry(x, y, w, h);
    g->setKind(TGaugeKind::gkText);
    g->setColor(clBlack);
    g->setForeColor(clYellow);
    g->setFont(SansSerif(true));
    g->setProgress(0);
    return g;
}

void SetGradient(TGPanel* p, TColor c1, TColor c2, TColor c3, int percent)
{
    p->setColor_1(c1);
    p->setColor_2(c2);
    p->setColor_3(c3);
    p->setHorizontal(false);
    p->setPercent(percent);
}

} // namespace

void TForm1::BuildTopPanel()
{
    TopPanel = new TGPanel(PanKestrix);
    TopPanel->setName(QStringLiteral("TopPanel"));
    TopPanel->setGeometry(0, 0, 686, 44);
    TopPanel->setBevelOuter(TPanelBevel::bvSpace);
    TopPanel->setColor(clSilver);
    SetGradient(TopPanel, clWhite, clSilver, clGray, 75);
    TopPanel->setAlign(TAlign::alTop);
    RegisterComponent(TopPanel);

    ReloadBut = GlyphButton(TopPanel, QStringLiteral("ReloadBut"), 8, 7, 30, QStringLiteral("reload"),
                            QStringLiteral("Refresh"));
    ReloadBut->OnClick = [this](QObject* s) { ReloadButClick(s); };
    SizeInfoBut = GlyphButton(TopPanel, QStringLiteral("SizeInfoBut"), 42, 7, 30, QStringLiteral("sizeinfo"),
                              QStringLiteral("Info on clusters etc."));
    SizeInfoBut->OnClick = [this](QObject* s) { SizeInfoButClick(s); };
    RegisterComponent(ReloadBut);
    RegisterComponent(SizeInfoBut);

    struct UnitButton {
        TLbSpeedButton** button;
        const char* name;
        const char* caption;
        const char* hint;
    } units[] = {
        {&BytesBut, "BytesBut", "bytes", "Show sizes in bytes"},
        {&KBytesBut, "KBytesBut", "kbytes", "Show sizes in KiloBytes"},
        {&MBytesBut, "MBytesBut", "mbytes", "Show sizes in MegaBytes"},
        {&GBytesBut, "GBytesBut", "gbytes", "Show sizes in GigaBytes"},
    };
    int left = 96;
    for (const UnitButton& u : units) {
        auto* b = new TLbSpeedButton(TopPanel);
        b->setName(QString::fromLatin1(u.name));
        b->setGeometry(left, 2, 50, 40);
        b->setStyle(TLbSpeedButtonStyle::bsModern);
        b->setFlat(true);
        b->setGroupIndex(200);
        b->setLayout(TLbSpeedButtonLayout::blGlyphTop);
        b->setAlignment(TAlignment::taCenter);
        b->setCaption(QString::fromLatin1(u.caption));
        b->setGlyph(GlyphPicture(QString::fromLatin1(u.caption)));
        b->setHint(QString::fromLatin1(u.hint));
        b->setShowHint(true);
        b->setCursor(ProCursor(crProHandPoint));
        // The Gray scheme's colours of a released button, the same for all
        // four: the colour scheme recolours them by their pressed state.
        b->setColor(clWhite);
        b->setLightColor(kSchemeMiddle);
        b->setShadowColor(kSchemeDark);
        b->OnClick = [this](QObject* s) { ViewSort(s); };
        *u.button = b;
        RegisterComponent(b);
        left += 54;
    }
    MBytesBut->setDown(true);

    ProPanel2 = new TProPanel(TopPanel);
    ProPanel2->setName(QStringLiteral("ProPanel2"));
    ProPanel2->setGeometry(400, 5, 34, 34);
    ProPanel2->setBevelOuter(TPanelBevel::bvLowered);
    ProPanel2->setColor(clBlack);
    RegisterComponent(ProPanel2);
    Image2 = new TImage(ProPanel2);
    Image2->setName(QStringLiteral("Image2"));
    Image2->setGeometry(2, 2, 30, 30);
    Image2->setPicture(GlyphPicture(QStringLiteral("kestrix")));
    RegisterComponent(Image2);

    Label8 = NewLabel(TopPanel, QStringLiteral("Label8"), 460, 16, QStringLiteral("#"), clWindowText);
    RegisterComponent(Label8);

    PanelKey = new TPanel(TopPanel);
    PanelKey->setName(QStringLiteral("PanelKey"));
    PanelKey->setGeometry(474, 4, 160, 34);
    PanelKey->setColor(clWhite);
    PanelKey->setBevelOuter(TPanelBevel::bvNone);
    PanelKey->setBevelInner(TPanelBevel::bvLowered);
    RegisterComponent(PanelKey);
    // The colour key: the five LED colours with their meaning.
    struct KeyEntry {
        TColor color;
        int sx, sy, lx, ly;
        const char* text;
    } key[] = {{clLime, 6, 5, 20, 4, "0-60%"},  {clYellow, 60, 5, 74, 4, ">60%"},
               {clRed, 110, 5, 124, 4, ">90%"}, {clBlue, 6, 21, 20, 20, "CD/DVD"},
               {clFuchsia, 78, 21, 92, 20, "Removable"}};
    const QFont small = DesignFont(QStringLiteral("Small Fonts"), -9, true);
    int n = 1;
    for (const KeyEntry& e : key) {
        auto* sq = new TShape(PanelKey);
        sq->setName(QStringLiteral("KeyShape%1").arg(n));
        sq->setGeometry(e.sx, e.sy, 9, 9);
        sq->setBrushColor(e.color);
        RegisterComponent(sq);
        TLabel* l = NewLabel(PanelKey, QStringLiteral("KeyLabel%1").arg(n), e.lx, e.ly,
                             QString::fromLatin1(e.text), clBlack);
        l->setLabelFont(small);
        RegisterComponent(l);
        ++n;
    }

    ExitBut = GlyphButton(TopPanel, QStringLiteral("ExitBut"), 648, 7, 30, QStringLiteral("exit"),
                          QStringLiteral("Exit Kestrix"));
    ExitBut->OnClick = [this](QObject* s) { ExitButClick(s); };
    RegisterComponent(ExitBut);
    for (TLbSpeedButton* b : {ReloadBut, SizeInfoBut, ExitBut}) {
        b->setColor(kToolFace);
        b->setColorWhenDown(kToolDark);
        b->setShadowColor(kToolDark);
        b->setLightColor(kToolLight);
    }
}

void TForm1::BuildHeader()
{
    HeaderPanel = new TPanel(PanKestrix);
    HeaderPanel->setName(QStringLiteral("HeaderPanel"));
    HeaderPanel->setGeometry(0, 44, 686, 18);
    HeaderPanel->setBevelOuter(TPanelBevel::bvNone);
    HeaderPanel->setAlign(TAlign::alTop);
    RegisterComponent(HeaderPanel);

    HeaderControl1 = new THeaderControl(HeaderPanel);
    HeaderControl1->setName(QStringLiteral("HeaderControl1"));
    HeaderControl1->setStyle(THeaderStyle::hsFlat);
    HeaderControl1->setFont(MicrosoftSansSerif());
    HeaderControl1->setFontColor(clMaroon);
    const SizeUnitInfo& mb = UnitInfo(TSizeUnit::MBytes);
    const std::pair<QString, int> sections[] = {
        {QStringLiteral("Drive"), 123},
        {QString::fromLatin1(mb.SizeCaption), 129},
        {QString::fromLatin1(mb.FreeCaption), 129},
        {QString::fromLatin1(mb.UsedCaption), 132},
        {QStringLiteral("Used"), 103}, {QStringLiteral("%"), 43},  {QStringLiteral("#"), 26},
    };
    for (const auto& [text, width] : sections)
        HeaderControl1->AddSection(text, width, TAlignment::taCenter).AllowClick = false;
    HeaderControl1->setAlign(TAlign::alClient);
    RegisterComponent(HeaderControl1);
}

void TForm1::BuildRows()
{
    const QFont buttonFont = SansSerif(true);
    for (int i = 0; i < kDriveSlots; ++i) {
        DriveSlot& s = Slots[std::size_t(i)];
        s.Letter = QLatin1Char(char('C' + i));
        const QString x(s.Letter);

        s.Pan = new TGPanel(PanKestrix);
        s.Pan->setName(QStringLiteral("Pan") + x);
        s.Pan->hide();
        s.Pan->setGeometry(0, kFirstRowTop + kDriveRowHeight * i, 686, kDriveRowHeight);
        s.Pan->setBevelOuter(TPanelBevel::bvNone);
        s.Pan->setColor(clGray);
        SetGradient(s.Pan, kRowColor1, kRowColor2, clBlack, 75);
        s.Pan->setAlign(TAlign::alTop);
        s.Pan->installEventFilter(this);
        RegisterComponent(s.Pan);

        s.Button = new TLbSpeedButton(s.Pan);
        s.Button->setName(x);
        s.Button->setGeometry(2, 0, 23, 19);
        s.Button->setStyle(TLbSpeedButtonStyle::bsModern);
        s.Button->setColor(clWhite);
        s.Button->setFont(buttonFont);
        s.Button->setHotTrackFont(buttonFont);
        s.Button->setHotTrackFontColor(clRed);
        s.Button->setUseHotTrackFont(true);
        s.Button->setLightColor(clGray);
        s.Button->setShadowColor(clGray);
        s.Button->setAlignment(TAlignment::taCenter);
        s.Button->setCaption(x + QLatin1Char(':'));
        s.Button->setHint(QStringLiteral("Drive details"));
        s.Button->setShowHint(true);
        s.Button->setCursor(ProCursor(crProHandPoint));
        s.Button->setAllowAllUp(true);
        if (i == 0)
            s.Button->setColorWhenDown(72);
        s.Button->setEnabled(false);
        s.Button->OnClick = [this](QObject* sender) { AClick(sender); };
        RegisterComponent(s.Button);

        s.VolLabel = NewLabel(s.Pan, QStringLiteral("VolLabel") + x, 30, 2, QStringLiteral("- -"), clWhite);
        s.VolLabel->setLabelFont(MicrosoftSansSerif());
        // Display names are the shell's text, never accelerator markup.
        s.VolLabel->setShowAccelChar(false);
        RegisterComponent(s.VolLabel);

        s.S = FigureLabel(s.Pan, QStringLiteral("S") + x, 144, 2, clAqua);
        s.F = FigureLabel(s.Pan, QStringLiteral("F") + x, 272, 2, clLime);
        s.U = FigureLabel(s.Pan, QStringLiteral("U") + x, 400, 2, clYellow);
        RegisterComponent(s.S);
        RegisterComponent(s.F);
        RegisterComponent(s.U);

        s.G = BarGauge(s.Pan, QStringLiteral("G") + x, 514, 1, 100, 18);
        RegisterComponent(s.G);
        s.Per = TextGauge(s.Pan, QStringLiteral("Per") + x, 618, 1, 38, 16);
        RegisterComponent(s.Per);

        s.Led = new ThhALed(s.Pan);
        s.Led->setName(QStringLiteral("Led") + x);
        s.Led->setGeometry(660, 1, 22, 16);
        s.Led->setLEDStyle(TLEDStyle::LEDHorizontal);
        s.Led->setBlink(false);
        s.Led->setValue(true);
        RegisterComponent(s.Led);
    }
}

void TForm1::BuildDetailsPanel()
{
    PanDet = new TGPanel(PanKestrix);
    PanDet->setName(QStringLiteral("PanDet"));
    PanDet->hide();
    PanDet->setGeometry(0, kFirstRowTop + kDriveRowHeight * kDriveSlots, 686, 124);
    PanDet->setBevelOuter(TPanelBevel::bvNone);
    PanDet->setColor(clMaroon);
    SetGradient(PanDet, clBlack, clGray, clBlack, 100);
    PanDet->setAlign(TAlign::alTop);
    RegisterComponent(PanDet);

    // Five rows of yellow captions and values; a caption ends in " :" just
    // left of its value.
    struct Value {
        TLabel** label;
        const char* name;
        const char* caption;
        int x, top;
        const char* initial;
    } values[] = {
        {&DetLVol, "DetLVol", "Volume Label :", 134, 2, "X"},
        {&DetLSN, "DetLSN", "Serial No. :", 328, 2, "0"},
        {&DetLFS, "DetLFS", "File System :", 526, 2, "X"},
        {&DetLClus, "DetLClus", "Cluster Size :", 134, 17, "0"},
        {&DetLCTotal, "DetLCTotal", "Clusters :", 328, 17, "0"},
        {&DetLCFree, "DetLCFree", "Free Clusters :", 526, 17, "0"},
        {&DetBpS, "DetBpS", "Bytes per Sector :", 134, 32, "0"},
        {&DetSpC, "DetSpC", "Sectors per Cluster :", 328, 32, "0"},
        {&DetAvDrv, "DetAvDrv", "Drive Type :", 526, 32, "0"},
        {&LFolders, "LFolders", "Folders :", 134, 47, "0"},
        {&LFiles, "LFiles", "Files :", 328, 47, "0"},
        {&LPUsed, "LPUsed", "% drive used :", 526, 47, "0 %"},
        {&LPUsedW, "LPUsedW", "% used space wasted :", 134, 63, "0 %"},
        {&LWasted, "LWasted", "Wasted Space :", 328, 63, "0"},
        {&LPDWaste, "LPDWaste", "% drive wasted :", 526, 63, "0 %"},
    };
    int n = 1;
    for (const Value& v : values) {
        auto* caption = new TLabel(PanDet);
        caption->setName(QStringLiteral("DetCaption%1").arg(n++));
        caption->setAutoSize(false);
        caption->setAlignment(TAlignment::taRightJustify);
        caption->setTransparent(true);
        caption->setFontColor(clYellow);
        caption->setLabelFont(SansSerif());
        caption->setGeometry(v.x - 134, v.top, 130, 13);
        caption->setCaption(QString::fromLatin1(v.caption));
        RegisterComponent(caption);
        TLabel* value = NewLabel(PanDet, QString::fromLatin1(v.name), v.x, v.top, QString::fromLatin1(v.initial), clYellow);
        value->setLabelFont(SansSerif());
        value->setShowAccelChar(false); // a volume label is the volume's text
        RegisterComponent(value);
        *v.label = value;
    }
    TLabel* kb = NewLabel(PanDet, QStringLiteral("DetLKB"), 152, 17, QStringLiteral("KB"), clYellow);
    kb->setLabelFont(SansSerif());
    RegisterComponent(kb);

    LDrive = new TProLabel(PanDet);
    LDrive->setName(QStringLiteral("LDrive"));
    LDrive->move(10, 86);
    LDrive->setTransparent(true);
    LDrive->setLabelFont(DesignFont(QStringLiteral("MS Sans Serif"), -13, true));
    LDrive->setFontColor(clWhite);
    LDrive->setCaption(QStringLiteral("C:"));
    RegisterComponent(LDrive);

    DetCloseBut = new TLbSpeedButton(PanDet);
    DetCloseBut->setName(QStringLiteral("DetCloseBut"));
    DetCloseBut->setGeometry(640, 4, 34, 34);
    DetCloseBut->setGlyph(GlyphPicture(QStringLiteral("detclose")));
    DetCloseBut->setAlignment(TAlignment::taCenter);
    DetCloseBut->setColor(kPaleBlue);
    DetCloseBut->setHint(QStringLiteral("Close drive info."));
    DetCloseBut->setShowHint(true);
    DetCloseBut->setCursor(ProCursor(crProHandPoint));
    DetCloseBut->OnClick = [this](QObject* s) { DetCloseButClick(s); };
    RegisterComponent(DetCloseBut);

    // The bar: 500 pixels for the whole drive inside a lowered black frame,
    // yellow for the files' share with the wasted share red at its end.
    Gauge_Wasted = new TPanel(PanDet);
    Gauge_Wasted->setName(QStringLiteral("Gauge_Wasted"));
    Gauge_Wasted->setGeometry(34, 80, 506, 28);
    Gauge_Wasted->setColor(clBlack);
    Gauge_Wasted->setBevelOuter(TPanelBevel::bvLowered);
    Gauge_Wasted->setBevelWidth(2);
    Gauge_Wasted->setBorderWidth(1);
    RegisterComponent(Gauge_Wasted);
    const QFont rulerFont = SansSerif(true);
    auto ruler = [&](QWidget* parent, const QString& name, TColor scale, TColor tick, int zoom) {
        auto* r = new TRsRuler(parent);
        r->setName(name);
        r->setUnits(TRulerUnit::ruPixel);
        r->setFlat(true);
        r->setScaleColor(scale);
        r->setTickColor(tick);
        r->setDirection(TRulerDir::rdTop);
        r->setScale(zoom);
        r->setHairLine(false);
        r->setHairLinePos(-1);
        r->setHairLineStyle(THairLineStyle::hlsLine);
        r->setShowMinus(false);
        r->setFont(rulerFont);
        r->setFontColor(tick);
        RegisterComponent(r);
        return r;
    };
    RsRuler2 = ruler(Gauge_Wasted, QStringLiteral("RsRuler2"), clBlack, clWhite, 500);
    RsRuler2->setGeometry(3, 3, 500, 22);
    // Over the ruler, from the left edge of the frame's inner area.
    Sector_Files = new TPanel(Gauge_Wasted);
    Sector_Files->setName(QStringLiteral("Sector_Files"));
    Sector_Files->setBevelOuter(TPanelBevel::bvNone);
    Sector_Files->setColor(clYellow);
    Sector_Files->setGeometry(3, 3, 0, 22);
    RegisterComponent(Sector_Files);
    Sector_Wasted = new TPanel(Sector_Files);
    Sector_Wasted->setName(QStringLiteral("Sector_Wasted"));
    Sector_Wasted->setBevelOuter(TPanelBevel::bvNone);
    Sector_Wasted->setColor(clRed);
    Sector_Wasted->setGeometry(0, 0, 0, 22);
    Sector_Wasted->setAlign(TAlign::alRight);
    RegisterComponent(Sector_Wasted);
    RsRuler1 = ruler(Sector_Files, QStringLiteral("RsRuler1"), clYellow, clBlack, 499);
    RsRuler1->setAlign(TAlign::alClient);

    const QFont small = DesignFont(QStringLiteral("Small Fonts"), -9, true);
    auto smallLabel = [&](const QString& name, int x, int y, const QString& text, TColor color) {
        TLabel* l = NewLabel(PanDet, name, x, y, text, color);
        l->setLabelFont(small);
        RegisterComponent(l);
    };
    const std::pair<int, const char*> scale[] = {{28, "0%"}, {153, "25%"}, {277, "50%"}, {402, "75%"}, {525, "100%"}};
    n = 1;
    for (const auto& [x, text] : scale)
        smallLabel(QStringLiteral("DetScale%1").arg(n++), x, 110, QString::fromLatin1(text), clWhite);

    // The legend: circles outlined in white, each with its caption.
    struct Key {
        int x, y;
        TColor color;
        const char* caption;
    } keys[] = {{552, 80, clYellow, "Files"}, {620, 80, clRed, "Wasted"}, {636, 98, clBlack, "Free"},
                {552, 98, clYellow, nullptr}, {576, 98, clRed, "Used"}};
    n = 1;
    for (const Key& k : keys) {
        auto* circle = new TShape(PanDet);
        circle->setName(QStringLiteral("DetKey%1").arg(n));
        circle->setGeometry(k.x, k.y, 15, 15);
        circle->setShape(TShapeType::stCircle);
        circle->setPenColor(clWhite);
        circle->setBrushColor(k.color);
        RegisterComponent(circle);
        if (k.caption)
            smallLabel(QStringLiteral("DetKeyLabel%1").arg(n), k.x + 17, k.y + 2, QString::fromLatin1(k.caption), clWhite);
        ++n;
    }
    smallLabel(QStringLiteral("DetKeyPlus"), 568, 100, QStringLiteral("+"), clYellow);
}

void TForm1::BuildBottomPanel()
{
    PanGuage = new TGPanel(PanKestrix);
    PanGuage->setName(QStringLiteral("PanGuage"));
    PanGuage->setGeometry(0, 62, 686, 90);
    PanGuage->setBevelOuter(TPanelBevel::bvNone);
    PanGuage->setColor(clSilver);
    SetGradient(PanGuage, clWhite, clSilver, clGray, 50);
    PanGuage->setAlign(TAlign::alBottom);
    RegisterComponent(PanGuage);

    // Totals row: its columns line up with the row columns.
    LabelTotals = NewLabel(PanGuage, QStringLiteral("LabelTotals"), 85, 5, QStringLiteral("Totals:"), clWindowText);
    LabelTotals->setLabelFont(SansSerif(true));
    RegisterComponent(LabelTotals);
    struct Box {
        TGPanel** panel;
        TLabel** label;
        const char* panelName;
        const char* labelName;
        int left;
        TColor color;
    } boxes[] = {{&PanTotSize, &Label5, "PanTotSize", "Label5", 128, clAqua},
                 {&PanTotFree, &Label6, "PanTotFree", "Label6", 256, clLime},
                 {&PanTotUsed, &Label7, "PanTotUsed", "Label7", 384, clYellow}};
    for (const Box& b : boxes) {
        auto* p = new TGPanel(PanGuage);
        p->setName(QString::fromLatin1(b.panelName));
        p->setGeometry(b.left, 3, 120, 19);
        p->setBevelOuter(TPanelBevel::bvLowered);
        SetGradient(p, clBlack, kRowColor2, kRowColor1, 30);
        RegisterComponent(p);
        // Right edge 16 + 94 = 110 in the box: the row figures' right edge.
        TLabel* l = FigureLabel(p, QString::fromLatin1(b.labelName), 16, 3, b.color);
        RegisterComponent(l);
        *b.panel = p;
        *b.label = l;
    }
    TotalBG = BarGauge(PanGuage, QStringLiteral("TotalBG"), 514, 3, 100, 19);
    RegisterComponent(TotalBG);
    TotalB = TextGauge(PanGuage, QStringLiteral("TotalB"), 618, 3, 38, 19);
    RegisterComponent(TotalB);

    // Memory panel: three arc gauges with captions, and the available memory.
    struct Arc {
        TProPanel** panel;
        TSTGauge** gauge;
        TLabel** label;
        const char* name;
        int left;
        const char* hint;
        const char* caption;
    } arcs[] = {{&GM_RPan, &GM_R, &GM_RL, "GM_R", 12, "RAM usage", "RAM = 80%"},
                {&GM_SPan, &GM_S, &GM_SL, "GM_S", 146, "Swap file usage", "Swap = 80%"},
                {&GM_LPan, &GM_L, &GM_LL, "GM_L", 280, "Memory load", "Load = 80%"}};
    for (const Arc& a : arcs) {
        const QString name = QString::fromLatin1(a.name);
        auto* p = new TProPanel(PanGuage);
        p->setName(name + QStringLiteral("Pan"));
        p->setGeometry(a.left, 30, 122, 57);
        p->setBevelOuter(TPanelBevel::bvLowered);
        p->setColor(kPaleBlue);
        RegisterComponent(p);
        auto* g = new TSTGauge(p);
        g->setName(name);
        g->setGeometry(4, 3, 114, 37);
        g->setBorder(TGaugeBorder::gbLowered);
        g->setShape(TGaugeShape::gsArc);
        g->setGradientFill(true);
        g->setUseMedianColor(true);
        g->setBackcolor(clBlack);
        g->setBlendColor(clBtnFace);
        g->setTransparent(true);
        g->setPercent(80);
        g->setHint(QString::fromLatin1(a.hint));
        g->setShowHint(true);
        RegisterComponent(g);
        auto* l = new TLabel(p);
        l->setName(name + QLatin1Char('L'));
        l->setAutoSize(false);
        l->setAlignment(TAlignment::taCenter);
        l->setTransparent(true);
        l->setGeometry(2, 41, 118, 13);
        l->setCaption(QString::fromLatin1(a.caption));
        RegisterComponent(l);
        *a.panel = p;
        *a.gauge = g;
        *a.label = l;
    }

    LabelAvailable = NewLabel(PanGuage, QStringLiteral("LabelAvailable"), 470, 28, QStringLiteral("Available Memory"),
                              clWindowText);
    LabelAvailable->setLabelFont(SansSerif(true));
    RegisterComponent(LabelAvailable);
    struct MemText {
        TProPanel** panel;
        TLabel** label;
        const char* panelName;
        const char* labelName;
        const char* caption;
        int top;
    } texts[] = {{&LRAM, &LabelRAM, "LRAM", "LabelRAM", "RAM:", 46},
                 {&LSwap, &LabelSwap, "LSwap", "LabelSwap", "Swap:", 67}};
    for (const MemText& t : texts) {
        TLabel* l = NewLabel(PanGuage, QString::fromLatin1(t.labelName), 432, t.top + 3,
                             QString::fromLatin1(t.caption), clWindowText);
        RegisterComponent(l);
        auto* p = new TProPanel(PanGuage);
        p->setName(QString::fromLatin1(t.panelName));
        p->setGeometry(470, t.top, 141, 20);
        p->setBevelOuter(TPanelBevel::bvLowered);
        p->setColor(clSilver);
        RegisterComponent(p);
        *t.label = l;
        *t.panel = p;
    }
    struct MemButton {
        TLbSpeedButton** button;
        const char* name;
        const char* glyph;
        const char* hint;
        int left;
    } buttons[] = {{&BRbytes, "BRbytes", "brbytes", "Show Bytes", 584},
                   {&BRkb, "BRkb", "brkb", "Show KB", 614},
                   {&BRmb, "BRmb", "brmb", "Show MB", 644}};
    for (const MemButton& m : buttons) {
        auto* b = new TLbSpeedButton(PanGuage);
        b->setName(QString::fromLatin1(m.name));
        b->setGeometry(m.left, 25, 27, 18);
        b->setStyle(TLbSpeedButtonStyle::bsShape);
        b->setGroupIndex(202);
        b->setAllowAllUp(true);
        b->setGlyph(GlyphPicture(QString::fromLatin1(m.glyph)));
        b->setNumGlyphs(4);
        b->setHint(QString::fromLatin1(m.hint));
        b->setShowHint(true);
        b->setCursor(ProCursor(crProHandPoint));
        b->OnClick = [this](QObject* s) { SysInfo(s); };
        RegisterComponent(b);
        *m.button = b;
    }
    BRkb->setDown(true);

    for (TLabel** l : {&LGetTotal, &LDiskUsed}) {
        *l = new TLabel(PanGuage);
        (*l)->setName(l == &LGetTotal ? QStringLiteral("LGetTotal") : QStringLiteral("LDiskUsed"));
        (*l)->setCaption(QStringLiteral("0"));
        (*l)->hide();
        RegisterComponent(*l);
    }
}

void TForm1::BuildStatusBar()
{
    StatBar = new TProStatusBar(this);
    StatBar->setName(QStringLiteral("StatBar"));
    StatBar->setGeometry(0, 296, 686, 19);
    StatBar->setColor(clSilver);
    StatBar->setFont(Tahoma());
    StatBar->setSizeGrip(false);
    for (int w : {4, 500}) {
        TStatusPanel* p = StatBar->Panels().Add();
        p->setWidth(w);
        p->setBevel(TStatusPanelBevel::pbNone);
    }
    StatBar->setAlign(TAlign::alBottom);
    RegisterComponent(StatBar);

    Label_Calc = NewLabel(StatBar, QStringLiteral("Label_Calc"), 520, 3, QStringLiteral("Calculating..."), clRed);
    Label_Calc->setLabelFont(Tahoma(true));
    Label_Calc->hide();
    RegisterComponent(Label_Calc);

    Led_Statbar = new ThhALed(StatBar);
    Led_Statbar->setName(QStringLiteral("Led_Statbar"));
    Led_Statbar->setGeometry(663, 1, 16, 16);
    Led_Statbar->setLEDStyle(TLEDStyle::LEDSmall);
    Led_Statbar->setBlink(false);
    Led_Statbar->setValue(true);
    RegisterComponent(Led_Statbar);
}

TMenuItem* TForm1::Item(const QString& name, const QString& caption, TMenuItem* parent, const TNotifyEvent& onClick)
{
    auto* item = new TMenuItem(this);
    item->setName(name);
    item->setCaption(caption);
    item->OnClick = onClick;
    if (parent)
        parent->Add(item);
    RegisterComponent(item);
    return item;
}

TMenuItem* TForm1::Item(const QString& name, const QString& caption, QWidget* menu, const TNotifyEvent& onClick)
{
    TMenuItem* item = Item(name, caption, static_cast<TMenuItem*>(nullptr), onClick);
    menu->addAction(item);
    return item;
}

namespace {

// The fifteen applet entries of both "System Setup" submenus, in menu order;
// the tray menu says "Networks" where the main menu says "Network".
QStringList AppletCaptions(bool tray)
{
    return {QStringLiteral("Add / Remove"),       QStringLiteral("System Properties"),
            QStringLiteral("Display Properties"), QStringLiteral("Multimedia"),
            QStringLiteral("Mouse"),              tray ? QStringLiteral("Networks") : QStringLiteral("Network"),
            QStringLiteral("Internet"),           QStringLiteral("Regional Settings"),
            QStringLiteral("Game Controllers"),   QStringLiteral("Modems"),
            QStringLiteral("Passwords"),          QStringLiteral("Power Management"),
            QStringLiteral("Scanners && Cameras"), QStringLiteral("Dialing Properties"),
            QStringLiteral("Date && Time")};
}

} // namespace

void TForm1::BuildMainMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setNativeMenuBar(false);
    // Menus in the system's menu colour, not the window's grey.
    QPalette menuPalette = MainMenu1->palette();
    menuPalette.setColor(QPalette::Window, ToQColor(clMenu));
    menuPalette.setColor(QPalette::Button, ToQColor(clMenu));
    menuPalette.setColor(QPalette::WindowText, ToQColor(clMenuText));
    menuPalette.setColor(QPalette::ButtonText, ToQColor(clMenuText));
    MainMenu1->setPalette(menuPalette);
    setMenuBar(MainMenu1);
    auto on = [this](void (TForm1::*handler)(QObject*)) {
        return TNotifyEvent([this, handler](QObject* s) { (this->*handler)(s); });
    };

    FileDrives = Item(QStringLiteral("FileDrives"), QStringLiteral("&File"), MainMenu1);
    MReload = Item(QStringLiteral("MReload"), QStringLiteral("Reload"), FileDrives, on(&TForm1::ReloadButClick));
    MReload->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    Item(QStringLiteral("N1"), QStringLiteral("-"), FileDrives);
    MExit = Item(QStringLiteral("MExit"), QStringLiteral("E&xit"), FileDrives, on(&TForm1::ExitButClick));

    View1 = Item(QStringLiteral("View1"), QStringLiteral("View"), MainMenu1);
    Options1 = Item(QStringLiteral("Options1"), QStringLiteral("Drives"), View1, on(&TForm1::Options1Click));
    Options1->setHint(QStringLiteral("Which drives to show"));
    Colors1 = Item(QStringLiteral("Colors1"), QStringLiteral("Color Scheme"), View1);
    const char* schemes[] = {"Gray", "Light Blue", "Blue", "Red", "Green", "System Colors"};
    for (int i = 0; i < 6; ++i) {
        Cs[std::size_t(i)] = Item(QStringLiteral("Cs%1").arg(i), QString::fromLatin1(schemes[i]), Colors1,
                                  on(&TForm1::ColorSort));
        Cs[std::size_t(i)]->setGroupIndex(201);
        Cs[std::size_t(i)]->setRadioItem(true);
    }
    Cs[0]->setChecked(true);
    Item(QStringLiteral("N8"), QStringLiteral("-"), View1);
    GeneralInfo1 = Item(QStringLiteral("GeneralInfo1"), QStringLiteral("Sizes Info"), View1,
                        on(&TForm1::SizeInfoButClick));
    Item(QStringLiteral("N7"), QStringLiteral("-"), View1);
    StayonTop1 = Item(QStringLiteral("StayonTop1"), QStringLiteral("Stay on Top"), View1,
                      on(&TForm1::StayonTop1Click));
    // "View" runs View1Click each time it opens, "Color Scheme" Colors1Click.
    connect(View1->SubMenu(), &QMenu::aboutToShow, this, [this] { View1Click(View1); });
    connect(Colors1->SubMenu(), &QMenu::aboutToShow, this, [this] { Colors1Click(Colors1); });

    // The system menu and its submenus are hidden and never shown.
    System1 = Item(QStringLiteral("System1"), QStringLiteral("&System"), MainMenu1);
    Item(QStringLiteral("ControlPanel1"), QStringLiteral("Control Panel"), System1, on(&TForm1::SystemUtils));
    TMenuItem* setup = Item(QStringLiteral("SystemSetup1"), QStringLiteral("System Setup"), System1);
    const QStringList applets = AppletCaptions(false);
    for (int i = 0; i < applets.size(); ++i)
        Item(QStringLiteral("MS%1").arg(i + 1), applets[i], setup, on(&TForm1::MS1Click));
    TMenuItem* utils = Item(QStringLiteral("Utils1"), QStringLiteral("Windows Utils"), System1);
    const std::pair<const char*, const char*> utilities[] = {
        {"NotePad1", "NotePad"},
        {"WordPad1", "WordPad"},
        {"Paint1", "Paint"},
        {"N4", "-"},
        {"Explorer1", "Explorer"},
        {"FileManager1", "File Manager"},
        {"ProgramManager1", "Program Manager"},
        {"TaskManager1", "Task Manager"},
        {"SysConfig1", "System Configuration Utility"},
        {"N5", "-"},
        {"ClipboardViewer1", "Clipboard Viewer"},
        {"CharectorMap1", "Character Map"},
        {"Calculator1", "Calculator"},
        {"RegEdit1", "RegEdit"},
        {"ScanDisk1", "ScanDisk"},
        {"Defrag1", "Defrag"},
        {"MediaPlayer1", "Media Player"},
        {"CDPlayer1", "CD Player"},
        {"N6", "-"},
        {"Solitaire1", "Solitaire"},
        {"MineSweeper1", "Mine Sweeper"},
    };
    for (const auto& [name, caption] : utilities) {
        const bool line = QLatin1String(caption) == QLatin1String("-");
        Item(QString::fromLatin1(name), QString::fromLatin1(caption), utils,
             line ? TNotifyEvent() : on(&TForm1::SystemUtils));
    }
    setup->setVisible(false);
    utils->setVisible(false);
    System1->setVisible(false);

    Help1 = Item(QStringLiteral("Help1"), QStringLiteral("Help"), MainMenu1);
    mnHtmlHelp = Item(QStringLiteral("mnHtmlHelp"), QStringLiteral("Kestrix Help (HtmlHelp)"), Help1,
                      on(&TForm1::mnHtmlHelpClick));
    mnWinHelp = Item(QStringLiteral("mnWinHelp"), QStringLiteral("Kestrix Help (WinHelp)"), Help1,
                     on(&TForm1::mnWinHelpClick));
    Item(QStringLiteral("N3"), QStringLiteral("-"), Help1);
    TolvaneWebsite1 = Item(QStringLiteral("TolvaneWebsite1"), QStringLiteral("Tolvane Website"), Help1,
                           on(&TForm1::TolvaneWebsite1Click));
    Item(QStringLiteral("N2"), QStringLiteral("-"), Help1);
    About1 = Item(QStringLiteral("About1"), QStringLiteral("About"), Help1, on(&TForm1::About1Click));

    // The show flags of the 24 rows: a hidden menu without caption.
    drives = Item(QStringLiteral("drives"), QString(), MainMenu1);
    for (int i = 0; i < kDriveSlots; ++i) {
        const QChar letter = QLatin1Char(char('c' + i));
        TMenuItem* flag = Item(QStringLiteral("d") + letter + QLatin1Char('1'), QStringLiteral("d_") + letter, drives);
        flag->setChecked(true);
        Slots[std::size_t(i)].Flag = flag;
    }
    drives->setVisible(false);
}

TAction* TForm1::Action(const QString& name, const QString& caption)
{
    auto* a = new TAction(this);
    a->setName(name);
    a->setCaption(caption);
    RegisterComponent(a);
    return a;
}

void TForm1::BuildActions()
{
    Exit = Action(QStringLiteral("Exit"), QStringLiteral("Exit"));
    Exit->OnExecute = [this](QObject* s) { ExitButClick(s); };
    BView = Action(QStringLiteral("BView"), QStringLiteral("Bytes View"));
    KBView = Action(QStringLiteral("KBView"), QStringLiteral("K-Bytes View"));
    MBView = Action(QStringLiteral("MBView"), QStringLiteral("M-Bytes View"));
    GBView = Action(QStringLiteral("GBView"), QStringLiteral("GBView"));
    for (TAction* a : {BView, KBView, MBView, GBView})
        a->setAutoCheck(true);
    // Ctrl+R reaches ReloadButClick through the menu item MReload, which
    // names the same key; one key, one handler.
    Reload = Action(QStringLiteral("Reload"), QStringLiteral("Reload"));
    Reload->setShortCut(QKeySequence(Qt::CTRL | Qt::Key_R));
    Reload->OnExecute = [this](QObject* s) { ReloadButClick(s); };
}

void TForm1::BuildTrayMenu()
{
    TrayMenu = new QMenu(this);
    TrayMenu->setObjectName(QStringLiteral("TrayMenu"));
    auto on = [this](void (TForm1::*handler)(QObject*)) {
        return TNotifyEvent([this, handler](QObject* s) { (this->*handler)(s); });
    };

    TMenuItem* setup = Item(QStringLiteral("SystemSetup2"), QStringLiteral("System Setup"), TrayMenu);
    const QStringList applets = AppletCaptions(true);
    for (int i = 0; i < applets.size(); ++i)
        Item(QStringLiteral("MS%1").arg(i + 16), applets[i], setup, on(&TForm1::MS1Click));
    TMenuItem* utils = Item(QStringLiteral("Utils2"), QStringLiteral("WinUtils"), TrayMenu);
    const std::pair<const char*, const char*> utilities[] = {
        {"NotePad2", "NotePad"},
        {"WordPad2", "WordPad"},
        {"Paint2", "Paint"},
        {"N46", "-"},
        {"Explorer2", "Explorer"},
        {"FileManager2", "File Manager"},
        {"ProgramManager2", "Program Manager"},
        {"TaskManager2", "Task Manager"},
        {"SysConfig2", "System Configuration Utility"},
        {"N47", "-"},
        {"ControlPanel2", "Control Panel"},
        {"ClipboardViewer3", "Clipboard Viewer"},
        {"CharectorMap2", "Charector Map"},
        {"Calculator2", "Calculator"},
        {"RegEdit2", "RegEdit"},
        {"ScanDisk2", "ScanDisk"},
        {"Defrag2", "Defrag"},
        {"MediaPlayer2", "Media Player"},
        {"CDPlayer2", "CD Player"},
        {"N48", "-"},
        {"Solitaire2", "Solitaire"},
        {"MineSweeper2", "Mine Sweeper"},
    };
    for (const auto& [name, caption] : utilities) {
        const bool line = QLatin1String(caption) == QLatin1String("-");
        Item(QString::fromLatin1(name), QString::fromLatin1(caption), utils,
             line ? TNotifyEvent() : on(&TForm1::SystemUtils));
    }
    TMenuItem* n49 = Item(QStringLiteral("N49"), QStringLiteral("-"), TrayMenu);
    setup->setVisible(false);
    utils->setVisible(false);
    n49->setVisible(false);

    About2 = Item(QStringLiteral("About2"), QStringLiteral("About"), TrayMenu, on(&TForm1::About1Click));
    Help2 = Item(QStringLiteral("Help2"), QStringLiteral("Help"), TrayMenu, on(&TForm1::mnHtmlHelpClick));
    Item(QStringLiteral("N50"), QStringLiteral("-"), TrayMenu);
    ShowKestrix1 = Item(QStringLiteral("ShowKestrix1"), QStringLiteral("Show Kestrix"), TrayMenu,
                        on(&TForm1::TrayShowClick));
    ShowKestrix1->setEnabled(false);
    HideKestrix1 = Item(QStringLiteral("HideKestrix1"), QStringLiteral("Hide Kestrix"), TrayMenu,
                        on(&TForm1::CaptionButton1Click));
    Item(QStringLiteral("N51"), QStringLiteral("-"), TrayMenu);
    ExitKestrix1 = Item(QStringLiteral("ExitKestrix1"), QStringLiteral("Exit Kestrix"), TrayMenu,
                        on(&TForm1::ExitButClick));
}

void TForm1::BuildDesktopComponents()
{
    // The zoom animation with every setting at its creation value.
    Smooth1 = new TSmooth(this);
    Smooth1->setName(QStringLiteral("Smooth1"));
    Smooth1->OnFinishing = [this](QObject* s) { SmoothShow1Finishing(s); };
    Smooth1->OnFinish = [this](QObject* s) { SmoothShow1Finish(s); };
    RegisterComponent(Smooth1);
    // For start-up measurements: the window's content without the outline
    // that grows before it.
    if (qEnvironmentVariableIntValue("KESTRIX_NO_ZOOM") == 1)
        Smooth1->setEnabled(false);

    // Made top-most at creation, as the component does; the layout's value
    // is off.
    KTop1 = new TKTop(this);
    KTop1->setName(QStringLiteral("KTop1"));
    KTop1->setKTop(false);
    RegisterComponent(KTop1);

    // Shown once the layout is complete; either button opens the tray menu.
    CoolTrayIcon1 = new TCoolTrayIcon(this);
    CoolTrayIcon1->setName(QStringLiteral("CoolTrayIcon1"));
    CoolTrayIcon1->setIcon(QIcon(QPixmap::fromImage(GlyphPicture(QStringLiteral("tray")))));
    CoolTrayIcon1->setIconVisible(true);
    CoolTrayIcon1->setLeftPopup(true);
    CoolTrayIcon1->setPopupMenu(TrayMenu);
    CoolTrayIcon1->setCycleInterval(0);
    RegisterComponent(CoolTrayIcon1);

    SysDialog = new TAMHSysDlg(this);
    SysDialog->setName(QStringLiteral("SysDialog"));
    SysDialog->setSysDlg(TSysDlg::AppWiz);
    SysDialog->setPage(0);
    RegisterComponent(SysDialog);
}
