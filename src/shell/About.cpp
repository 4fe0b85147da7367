#include "shell/About.h"

#include <QFile>
#include <QFontMetrics>

#include "platform/Platform.h"
#include "shell/JpegImage.h"
#include "shell/WebAddress.h"
#include "toolkit/Fonts.h"
#include "toolkit/Cursors.h"
#include "toolkit/Pictures.h"

namespace {

constexpr TColor kDarkBlue = 8404992; // 0x804000

TLabel* PlainLabel(QWidget* parent, const QString& name, int x, int y, const QString& text, bool bold)
{
    auto* l = new TLabel(parent);
    l->setName(name);
    l->setLabelFont(DesignFont(QStringLiteral("MS Sans Serif"), -11, bold));
    l->setFontColor(clBlack);
    l->setTransparent(true);
    l->move(x, y);
    l->setCaption(text);
    return l;
}

TProUrlLabel* Link(QWidget* parent, const QString& name, int x, int y, int w, const QString& text, const QString& url)
{
    auto* l = new TProUrlLabel(parent);
    l->setName(name);
    l->setAutoSize(false);
    l->setGeometry(x, y, w, 13);
    l->setTransparent(true);
    l->setCaption(text);
    l->setURL(url);
    l->setVisitedColor(clLime);
    return l;
}

} // namespace

QByteArray TAboutForm::BuiltInPicture()
{
    InitResources();
    QFile f(QStringLiteral(":/about/about.jpg"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TAboutForm::TAboutForm(const QByteArray& picture)
    : TForm(nullptr)
{
    InitResources();
    setName(QStringLiteral("AboutForm"));
    setCaption(QStringLiteral("About - Kestrix"));
    setBorderStyle(TFormBorderStyle::bsDialog);
    setBorderIcons({biSystemMenu});
    setWindowIcon(QPixmap::fromImage(GlyphPicture(QStringLiteral("kestrix32"))));
    // The program ends with its main window, whatever else is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(DefaultFormFont());
    setFixedSize(395, 171);
    const QSize screen = CurrentPlatform().ScreenSize();
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);

    // Plain white: the first two colours are equal, so no gradient is drawn.
    GPanel1 = new TGPanel(this);
    GPanel1->setName(QStringLiteral("GPanel1"));
    GPanel1->setBevelOuter(TPanelBevel::bvNone);
    GPanel1->setColor(clWhite);
    GPanel1->setColor_1(clWhite);
    GPanel1->setColor_2(clWhite);
    GPanel1->setColor_3(kDarkBlue);
    GPanel1->setHorizontal(false);
    GPanel1->setPercent(100);
    GPanel1->setAlign(TAlign::alClient);
    RegisterComponent(GPanel1);

    Image1 = new TImage(GPanel1);
    Image1->setName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 115, 147);
    Image1->setPicture(DecodeJpeg(picture.isEmpty() ? BuiltInPicture() : picture));
    RegisterComponent(Image1);

    ProLabel1 = new TProLabel(GPanel1);
    ProLabel1->setName(QStringLiteral("ProLabel1"));
    ProLabel1->setAutoSize(false);
    ProLabel1->setGeometry(167, 4, 165, 37);
    ProLabel1->setAlignment(TAlignment::taCenter);
    ProLabel1->setLabelFont(DesignFont(QStringLiteral("MS Sans Serif"), -32, true));
    ProLabel1->setFontColor(clRed);
    ProLabel1->setTransparent(true);
    ProLabel1->setCaption(QStringLiteral("Kestrix"));
    ProLabel1->setShadowStyle(TShadowStyle::ssCustom);
    ProLabel1->setHighlightDirection(TDirection::drUpLeft);
    ProLabel1->setHighlightDepth(1);
    ProLabel1->setShadowDirection(TDirection::drRight);
    ProLabel1->setShadowDepth(1);
    ProLabel1->setShadowSize(1);
    ProLabel1->setShadowColor(clBlack);
    ProLabel1->setOffsetX(1);
    ProLabel1->setOffsetY(1);
    RegisterComponent(ProLabel1);

    Label1 = PlainLabel(GPanel1, QStringLiteral("Label1"), 213, 44, QStringLiteral("Version 4.0"), true);
    RegisterComponent(Label1);
    Label2 = PlainLabel(GPanel1, QStringLiteral("Label2"), 125, 70, QStringLiteral("Copyright (C) the Kestrix developers"),
                        false);
    Label2->setAutoSize(false);
    Label2->setGeometry(125, 70, 241, 13);
    Label2->setAlignment(TAlignment::taCenter);
    RegisterComponent(Label2);

    const QString mail = QString::fromLatin1(kMailAddress);
    ProUrlLabel1 = Link(GPanel1, QStringLiteral("ProUrlLabel1"), 188, 90, 114, mail, QStringLiteral("Mailto:") + mail);
    RegisterComponent(ProUrlLabel1);
    const QString web = QString::fromLatin1(kWebAddress);
    ProUrlLabel2 = Link(GPanel1, QStringLiteral("ProUrlLabel2"), 187, 110, 116, web, web + QLatin1Char('/'));
    // Our address is longer than the 116 pixels the layout gives it: the
    // label grows to its text, centred where the layout's label was.
    const int need = QFontMetrics(ProUrlLabel2->font()).horizontalAdvance(web) + 1;
    if (need > ProUrlLabel2->width())
        ProUrlLabel2->setGeometry(187 + 116 / 2 - need / 2, 110, need, 13);
    RegisterComponent(ProUrlLabel2);

    OKBut = new TLbSpeedButton(GPanel1);
    OKBut->setName(QStringLiteral("OKBut"));
    OKBut->setGeometry(209, 140, 73, 23);
    OKBut->setFlat(true);
    OKBut->setCaption(QStringLiteral("OK"));
    OKBut->setGlyph(GlyphPicture(QStringLiteral("ok")));
    OKBut->setNumGlyphs(2);
    OKBut->setAlignment(TAlignment::taCenter);
    OKBut->setCursor(ProCursor(crProHandPoint));
    OKBut->OnClick = [this](QObject* s) { OKButClick(s); };
    RegisterComponent(OKBut);

    ProPanel1 = new TProPanel(GPanel1);
    ProPanel1->setName(QStringLiteral("ProPanel1"));
    ProPanel1->setGeometry(354, 4, 34, 34);
    ProPanel1->setBevelOuter(TPanelBevel::bvLowered);
    ProPanel1->setColor(clBlack);
    RegisterComponent(ProPanel1);
    Image2 = new TImage(ProPanel1);
    Image2->setName(QStringLiteral("Image2"));
    Image2->setGeometry(1, 1, 32, 32);
    Image2->setStretch(true);
    Image2->setTransparent(true);
    Image2->setPicture(GlyphPicture(QStringLiteral("kestrix32")));
    RegisterComponent(Image2);

    OnClose = [this](QObject* s, TCloseAction& a) { FormClose(s, a); };
    DoCreate();
}

TAboutForm::~TAboutForm()
{
    DoDestroy();
}

void TAboutForm::OKButClick(QObject*)
{
    Close();
}

void TAboutForm::FormClose(QObject*, TCloseAction& action)
{
    action = TCloseAction::caFree;
}
