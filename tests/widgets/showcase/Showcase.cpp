// A manual check of the drawn controls with the main window's layout values:
// a mock top panel, a few drive rows, the memory unit buttons, the details
// panel's close button and rulers, the status bar and the splash screen's
// labels. The gradient backgrounds are plain stand-ins for the gradient panel.
//
//   widgets_showcase            shows the window (for a look under Xvfb, with
//                               xdotool moving the pointer and clicking)
//   widgets_showcase --shot DIR renders the window and every hover and
//                               pressed state into PNG files in DIR
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleFactory>

#include "widgets/Fonts.h"
#include "widgets/GdiCanvas.h"
#include "widgets/LbSpeedButton.h"
#include "widgets/ProCtrls.h"
#include "widgets/ProStBar.h"
#include "widgets/ProUrl.h"
#include "widgets/RsRuler.h"

namespace {

// Stand-in for the gradient panel: Color_1 to Color_2 over Percent of the
// height, then Color_2 to Color_3.
class MockGradient : public TControl {
public:
    MockGradient(QWidget* parent, TColor c1, TColor c2, TColor c3, int percent)
        : TControl(parent)
        , c1_(c1)
        , c2_(c2)
        , c3_(c3)
        , percent_(percent)
    {
        setColor(c2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QImage img(size(), QImage::Format_RGB32);
        GdiCanvas c(img);
        const int split = height() * percent_ / 100;
        Gradient32(c, 0, 0, width(), split, c1_, c2_);
        Gradient32(c, 0, split, width(), height(), c2_, c3_);
        QPainter(this).drawImage(0, 0, img);
    }

private:
    TColor c1_, c2_, c3_;
    int percent_;
};

class Picture : public QWidget {
public:
    Picture(QWidget* parent, const QImage& img)
        : QWidget(parent)
        , img_(img)
    {
        resize(img.size());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, img_); }

private:
    QImage img_;
};

constexpr TColor kLight = clWhite, kMiddle = 0xC0C0C0, kDark = 0x808080; // the Gray scheme

// The colour scheme's rule for speed buttons: down ones take the middle
// colour as face, up ones the light colour.
void SchemeColours(TLbSpeedButton* b)
{
    b->setColor(b->Down() ? kMiddle : kLight);
    b->setLightColor(b->Down() ? kLight : kMiddle);
    b->setShadowColor(kDark);
}

TLbSpeedButton* GlyphButton(QWidget* parent, int x, int y, int size, const QString& glyph, const QString& hint)
{
    auto* b = new TLbSpeedButton(parent);
    b->setGeometry(x, y, size, size);
    b->setFlat(true);
    b->setGlyph(GlyphPicture(glyph));
    b->setAlignment(TAlignment::taCenter);
    b->setHint(hint);
    b->setShowHint(true);
    b->setCursor(ProCursor(crProHandPoint));
    SchemeColours(b);
    return b;
}

TLabel* Label(QWidget* parent, int x, int y, const QString& text, const QFont& font, TColor color)
{
    auto* l = new TLabel(parent);
    l->setLabelFont(font);
    l->setTransparent(true);
    l->setFontColor(color);
    l->move(x, y);
    l->setCaption(text);
    return l;
}

struct Scene {
    QWidget window;
    QList<TLbSpeedButton*> units, drives;
    TLbSpeedButton *reload = nullptr, *sizeInfo = nullptr, *exit = nullptr, *detClose = nullptr;
    QList<TLbSpeedButton*> memory;
    TProStatusBar* status = nullptr;

    Scene()
    {
        const QFont form = DefaultFormFont();
        window.setFont(form);
        window.setWindowTitle(QStringLiteral("Kestrix widgets"));
        window.setGeometry(0, 0, 686, 400);
        window.setAutoFillBackground(true);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, ToQColor(clGray));
        window.setPalette(pal);

        // Top panel: 686 x 44.
        auto* top = new MockGradient(&window, clWhite, clSilver, clGray, 75);
        top->setGeometry(0, 0, 686, 44);
        reload = GlyphButton(top, 8, 7, 30, QStringLiteral("reload"), QStringLiteral("Refresh"));
        sizeInfo = GlyphButton(top, 42, 7, 30, QStringLiteral("sizeinfo"), QStringLiteral("Info on clusters etc."));
        const char* captions[] = {"bytes", "kbytes", "mbytes", "gbytes"};
        for (int i = 0; i < 4; ++i) {
            auto* b = new TLbSpeedButton(top);
            b->setGeometry(96 + 54 * i, 2, 50, 40);
            b->setStyle(TLbSpeedButtonStyle::bsModern);
            b->setFlat(true);
            b->setGroupIndex(200);
            b->setLayout(TLbSpeedButtonLayout::blGlyphTop);
            b->setAlignment(TAlignment::taCenter);
            b->setCaption(QString::fromLatin1(captions[i]));
            b->setGlyph(GlyphPicture(QString::fromLatin1(captions[i])));
            b->setCursor(ProCursor(crProHandPoint));
            units << b;
        }
        units[2]->setDown(true);
        for (auto* b : units) {
            SchemeColours(b);
            b->OnClick = [this](QObject*) {
                for (auto* u : units)
                    SchemeColours(u);
            };
        }
        auto* iconFrame = new TProPanel(top);
        iconFrame->setGeometry(400, 5, 34, 34);
        iconFrame->setColor(clBlack);
        iconFrame->setBevelOuter(TPanelBevel::bvLowered);
        new Picture(iconFrame, GlyphPicture(QStringLiteral("kestrix")));
        iconFrame->findChild<Picture*>()->move(2, 2);
        Label(top, 460, 16, QStringLiteral("#"), form, clBlack);
        auto* key = new TProPanel(top);
        key->setGeometry(474, 4, 160, 34);
        key->setColor(clWhite);
        key->setBevelOuter(TPanelBevel::bvNone);
        key->setBevelInner(TPanelBevel::bvLowered);
        const QFont small = DesignFont(QStringLiteral("Small Fonts"), -9, true);
        struct KeyEntry {
            TColor c;
            int sx, sy, lx, ly;
            const char* text;
        } entries[] = {{clLime, 6, 5, 20, 4, "0-60%"},   {clYellow, 60, 5, 74, 4, ">60%"},
                       {clRed, 110, 5, 124, 4, ">90%"},  {clBlue, 6, 21, 20, 20, "CD/DVD"},
                       {clFuchsia, 78, 21, 92, 20, "Removable"}};
        for (const auto& e : entries) {
            auto* sq = new TProPanel(key);
            sq->setGeometry(e.sx, e.sy, 9, 9);
            sq->setBevelOuter(TPanelBevel::bvNone);
            sq->setColor(e.c);
            Label(key, e.lx, e.ly, QString::fromLatin1(e.text), small, clBlack);
        }
        exit = GlyphButton(top, 648, 7, 30, QStringLiteral("exit"), QStringLiteral("Exit Kestrix"));

        // Drive rows from y 44 (the header is left out): C normal, C held,
        // D disabled, E hovered, F held without a down colour.
        const char* rows[] = {"C:", "C:", "D:", "E:", "F:"};
        const char* names[] = {"System (C:)", "held down", "disabled", "hovered", "held, no down colour"};
        for (int i = 0; i < 5; ++i) {
            auto* row = new MockGradient(&window, 4276545, 2105888, clBlack, 75);
            row->setGeometry(0, 44 + 20 * i, 686, 20);
            auto* b = new TLbSpeedButton(row);
            b->setGeometry(2, 0, 23, 19);
            b->setStyle(TLbSpeedButtonStyle::bsModern);
            b->setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11, true));
            b->setHotTrackFont(DesignFont(QStringLiteral("MS Sans Serif"), -11, true));
            b->setHotTrackFontColor(clRed);
            b->setUseHotTrackFont(true);
            b->setAllowAllUp(true);
            b->setAlignment(TAlignment::taCenter);
            b->setCaption(QString::fromLatin1(rows[i]));
            b->setHint(QStringLiteral("Drive details"));
            b->setCursor(ProCursor(crProHandPoint));
            if (i < 2)
                b->setColorWhenDown(72);
            b->setEnabled(i != 2);
            SchemeColours(b);
            b->setColor(clWhite);
            b->setLightColor(clGray);
            b->setShadowColor(clGray);
            drives << b;
            Label(row, 30, 2, QString::fromLatin1(names[i]), DesignFont(QStringLiteral("Microsoft Sans Serif"), -11),
                  clWhite);
        }

        // Memory unit buttons and the details panel's close button.
        auto* bottom = new MockGradient(&window, clWhite, clSilver, clGray, 50);
        bottom->setGeometry(0, 144, 686, 60);
        const char* mem[] = {"brbytes", "brkb", "brmb"};
        for (int i = 0; i < 3; ++i) {
            auto* b = new TLbSpeedButton(bottom);
            b->setGeometry(420 + 30 * i, 8, 27, 18);
            b->setStyle(TLbSpeedButtonStyle::bsShape);
            b->setGroupIndex(202);
            b->setAllowAllUp(true);
            b->setGlyph(GlyphPicture(QString::fromLatin1(mem[i])));
            b->setNumGlyphs(4); // 27 x 18 cells: width div height would count 6
            b->setCursor(ProCursor(crProHandPoint));
            memory << b;
        }
        memory[1]->setDown(true);
        detClose = new TLbSpeedButton(bottom);
        detClose->setGeometry(640, 4, 34, 34);
        detClose->setColor(16774621);
        detClose->setGlyph(GlyphPicture(QStringLiteral("detclose")));
        detClose->setAlignment(TAlignment::taCenter);

        // The bar of files, wasted and free space: RsRuler2 on black, the
        // yellow files part (45.68 % -> 225 pixels) carrying RsRuler1.
        auto* gauge = new TProPanel(&window);
        gauge->setGeometry(34, 210, 506, 28);
        gauge->setColor(clBlack);
        gauge->setBevelOuter(TPanelBevel::bvLowered);
        gauge->setBevelWidth(2);
        gauge->setBorderWidth(1);
        gauge->setBorderColor(clBlack);
        auto ruler = [](QWidget* parent, TColor band, TColor ink, int scale) {
            auto* r = new TRsRuler(parent);
            r->setGeometry(0, 0, 500, 22);
            r->setColor(band);
            r->setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11, true));
            r->setFontColor(ink);
            r->setUnits(TRulerUnit::ruPixel);
            r->setFlat(true);
            r->setScaleColor(band);
            r->setTickColor(ink);
            r->setScale(scale);
            r->setShowMinus(false);
            return r;
        };
        ruler(gauge, clBlack, clWhite, 500)->move(3, 3);
        auto* files = new TProPanel(gauge);
        files->setGeometry(3, 3, 225, 22);
        files->setBevelOuter(TPanelBevel::bvNone);
        files->setColor(clYellow);
        auto* r1 = ruler(files, clYellow, clBlack, 499);
        r1->resize(205, 22);
        auto* wasted = new TProPanel(files);
        wasted->setGeometry(205, 0, 20, 22);
        wasted->setBevelOuter(TPanelBevel::bvNone);
        wasted->setColor(clRed);

        // Status bar: 686 x 19, two panels without bevel, hint in panel 1.
        status = new TProStatusBar(&window);
        status->setGeometry(0, 244, 686, 19);
        status->setColor(clSilver);
        status->setFont(DesignFont(QStringLiteral("Tahoma"), -11));
        status->setSizeGrip(false);
        for (int w : {4, 500}) {
            TStatusPanel* p = status->Panels().Add();
            p->setWidth(w);
            p->setBevel(TStatusPanelBevel::pbNone);
        }
        status->Panels().Items(1)->setText(QStringLiteral("Drive details"));
        Label(status, 520, 3, QStringLiteral("Calculating..."), DesignFont(QStringLiteral("Tahoma"), -11, true), clRed);

        // Splash screen: 226 x 117, gradient white / gray / gray.
        auto* splash = new MockGradient(&window, clWhite, clGray, clGray, 50);
        splash->setGeometry(8, 270, 226, 117);
        auto title = [&](int x, int y, const QString& text) {
            auto* l = new TProLabel(splash);
            l->setLabelFont(DesignFont(QStringLiteral("MS Sans Serif"), -19, true));
            l->setTransparent(true);
            l->setFontColor(clRed);
            l->move(x, y);
            l->setCaption(text);
            l->setShadowStyle(TShadowStyle::ssCustom);
            l->setShadowDirection(TDirection::drDownRight);
            l->setShadowDepth(1);
            l->setShadowSize(1);
            l->setShadowColor(clWhite);
        };
        title(16, 22, QStringLiteral("Loading..."));
        title(16, 62, QStringLiteral("Tolvane Kestrix"));
        auto* splashIcon = new TProPanel(splash);
        splashIcon->setGeometry(172, 20, 34, 34);
        splashIcon->setColor(clBlack);
        splashIcon->setBevelOuter(TPanelBevel::bvLowered);
        (new Picture(splashIcon, GlyphPicture(QStringLiteral("kestrix"))))->move(2, 2);

        // Hints go to status-bar panel 1.
        for (auto* b : window.findChildren<TLbSpeedButton*>())
            b->OnMouseEnter = [this](QObject* s) {
                status->Panels().Items(1)->setText(static_cast<TLbSpeedButton*>(s)->Hint());
            };
    }
};

void Send(QWidget* w, QEvent::Type type)
{
    if (type == QEvent::Enter) {
        QEnterEvent e(QPointF(3, 3), QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)));
        QCoreApplication::sendEvent(w, &e);
    } else if (type == QEvent::Leave) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    } else {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
}

void Save(const QImage& img, const QString& dir, const QString& name)
{
    img.save(QDir(dir).filePath(name + ".png"));
    img.scaled(img.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QDir(dir).filePath(name + "-x4.png"));
}

int Shots(Scene& s, const QString& dir)
{
    QDir().mkpath(dir);
    // States: E: hovered, C: (second) and F: held down.
    Send(s.drives[3], QEvent::Enter);
    Send(s.drives[1], QEvent::MouseButtonPress);
    Send(s.drives[4], QEvent::MouseButtonPress);
    Save(s.window.grab().toImage(), dir, QStringLiteral("window"));
    Save(s.window.grab(QRect(0, 0, 686, 44)).toImage(), dir, QStringLiteral("toppanel"));
    Save(s.window.grab(QRect(0, 44, 240, 100)).toImage(), dir, QStringLiteral("drives"));
    Save(s.window.grab(QRect(0, 244, 686, 19)).toImage(), dir, QStringLiteral("statusbar"));
    Save(s.window.grab(QRect(8, 270, 226, 117)).toImage(), dir, QStringLiteral("splash"));
    Save(s.window.grab(QRect(34, 210, 506, 28)).toImage(), dir, QStringLiteral("rulers"));
    Save(s.window.grab(QRect(410, 144, 276, 60)).toImage(), dir, QStringLiteral("memory"));

    // Top panel buttons one state at a time: hovered and pressed.
    struct State {
        TLbSpeedButton* b;
        const char* name;
    } buttons[] = {{s.reload, "reload"}, {s.units[0], "bytes"}, {s.units[2], "mbytes"}, {s.exit, "exit"},
                   {s.memory[0], "brbytes"}, {s.detClose, "detclose"}};
    for (const auto& st : buttons) {
        const QRect area = st.b->geometry().adjusted(-2, -2, 2, 2);
        QWidget* parent = st.b->parentWidget();
        Send(st.b, QEvent::Enter);
        Save(parent->grab(area).toImage(), dir, QStringLiteral("%1-hot").arg(QLatin1String(st.name)));
        Send(st.b, QEvent::MouseButtonPress);
        Save(parent->grab(area).toImage(), dir, QStringLiteral("%1-pressed").arg(QLatin1String(st.name)));
        Send(st.b, QEvent::MouseButtonRelease);
        Send(st.b, QEvent::Leave);
        Save(parent->grab(area).toImage(), dir, QStringLiteral("%1-after").arg(QLatin1String(st.name)));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    LoadDesignFonts();
    QApplication::setFont(DefaultFormFont());
    Scene scene;
    scene.window.show();
    const QStringList args = QCoreApplication::arguments();
    const int shot = int(args.indexOf(QStringLiteral("--shot")));
    if (shot > 0 && shot + 1 < args.size())
        return Shots(scene, args.at(shot + 1));
    return app.exec();
}
