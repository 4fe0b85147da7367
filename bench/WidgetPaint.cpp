// Paint time of each drawn widget at its size in the main window: one full
// paint (composition off screen and the copy) into a QImage, offscreen.
// Read "Time" per iteration: the window repaints 24 rows of panels, gauges,
// percentage boxes and LEDs, so a row costs the sum of its four figures.
// The arc gauge's counter "of_0.1ms" is its paint time over the 0.1 ms it
// may take (below 1 meets it); the gauge keeps the wedges' shape for its
// percentage between paints, and the "99/100 in turn" case shows a paint
// that must work them out afresh. "Arc wedges" composes the memory panel's
// arc at 100 % both ways in one run: the hundred slices as one run
// (PieSeries, what the gauge does) and one by one (a pass over the box
// each, as the gauge did before); their ratio is the gain. "first paint"
// is a new arc gauge's first paint, the one start-up pays three times.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>
#include <memory>

#include "toolkit/Fonts.h"
#include "toolkit/GdiCanvas.h"
#include "toolkit/Panel.h"
#include "widgets/ALed.h"
#include "widgets/GPanel.h"
#include "widgets/Gauges.h"
#include "widgets/STGauge.h"

namespace {

void PaintLoop(benchmark::State& state, QWidget* w)
{
    QImage img(w->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        w->render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void DriveRowPanel(benchmark::State& state)
{
    TGPanel p;
    p.resize(686, 20);
    p.setBevelOuter(TPanelBevel::bvNone);
    p.setColor(clGray);
    p.setColor_1(4276545);
    p.setColor_2(2105888);
    p.setColor_3(clBlack);
    p.setHorizontal(false);
    p.setPercent(75);
    PaintLoop(state, &p);
}

void DriveRowGauge(benchmark::State& state)
{
    TSTGauge g;
    g.resize(100, int(state.range(1)));
    g.setPercent(int(state.range(0)));
    PaintLoop(state, &g);
}

// One of the memory panel's arcs, on a panel of its colour.
TSTGauge* MemoryArc(TPanel& panel)
{
    panel.resize(120, 45);
    panel.setColor(16774621);
    auto* g = new TSTGauge(&panel);
    g->setGeometry(3, 4, 114, 37);
    g->setShape(TGaugeShape::gsArc);
    g->setTransparent(true);
    return g;
}

// Paint time over the 0.1 ms an arc paint may take.
void CountAgainstTarget(benchmark::State& state)
{
    state.counters["of_0.1ms"] =
        benchmark::Counter(double(state.iterations()) * 1e-4, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void MemoryArcGauge(benchmark::State& state)
{
    TPanel panel;
    TSTGauge* g = MemoryArc(panel);
    g->setPercent(int(state.range(0)));
    PaintLoop(state, g);
    CountAgainstTarget(state);
}

// The same arc with its percentage changing before every paint (99, 100,
// 99, ...): the wedges are worked out afresh each time, as when the memory
// load moves between two refreshes.
void MemoryArcGaugeChanging(benchmark::State& state)
{
    TPanel panel;
    TSTGauge* g = MemoryArc(panel);
    QImage img(g->size(), QImage::Format_RGB32);
    int percent = 99;
    for (auto _ : state) {
        percent = percent == 99 ? 100 : 99;
        g->setPercent(percent);
        g->render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
    CountAgainstTarget(state);
}

// The first paint of a memory panel arc at 80 %, as at start-up: a new
// gauge each time, so nothing of its own is kept (its background and border
// layers, step points and slices are all worked out). "shapes kept" leaves
// the canvas' ellipse shapes of the box from the paint before, as the
// second and third arcs find them; "nothing kept" drops them first (by
// drawing ellipses of as many other sizes as the canvas keeps), as the
// first arc finds it. Making and dropping the gauge is not timed.
void MemoryArcFirstPaint(benchmark::State& state)
{
    const bool cold = state.range(0) != 0;
    TPanel panel;
    QImage img(114, 37, QImage::Format_RGB32);
    QImage other(16, 16, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        if (cold) {
            GdiCanvas canvas(other);
            for (int k = 1; k <= 8; ++k)
                canvas.Ellipse(0, 0, k, k + 1);
        }
        std::unique_ptr<TSTGauge> g(MemoryArc(panel));
        g->setPercent(80);
        state.ResumeTiming();
        g->render(&img);
        benchmark::DoNotOptimize(img.constBits());
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
}

// The hundred slices of the 114 x 37 arc at 100 %, as the gauge works them
// out, on the upper half of their ellipse box.
std::vector<GdiCanvas::PieSlice> ArcSlices()
{
    std::vector<GdiCanvas::PieSlice> slices;
    auto at = [](long double t) {
        return QPoint(RoundHalfEven(double((1 - std::cos(t)) * 56)), RoundHalfEven(double((1 - std::sin(t)) * 36)));
    };
    QPoint q(0, 36);
    for (int i = 1; i <= 100; ++i) {
        const long double theta = (long double)i / 100 * std::numbers::pi_v<long double>;
        slices.push_back({at(theta + (i < 100 ? 0.027L : 0)), q, RGBToColor(i, 255 - i, 0)});
        q = at(theta);
    }
    return slices;
}

void ArcWedges(benchmark::State& state)
{
    const std::vector<GdiCanvas::PieSlice> slices = ArcSlices();
    QImage img(114, 37, QImage::Format_RGB32);
    const bool oneByOne = state.range(0) != 0;
    for (auto _ : state) {
        GdiCanvas canvas(img);
        if (oneByOne) {
            for (const GdiCanvas::PieSlice& s : slices) {
                canvas.SetPen(s.Color);
                canvas.SetBrush(s.Color);
                canvas.Pie(0, 0, 113, 73, s.Start.x(), s.Start.y(), s.End.x(), s.End.y());
            }
        } else {
            canvas.PieSeries(0, 0, 113, 73, slices);
        }
        benchmark::DoNotOptimize(img.constBits());
    }
}

void RowLed(benchmark::State& state)
{
    ThhALed led;
    led.setLEDStyle(TLEDStyle(state.range(0)));
    led.setBlink(false);
    led.setValue(true);
    led.setTrueColor(clYellow);
    PaintLoop(state, &led);
}

void LedRecolour(benchmark::State& state)
{
    ThhALed led;
    led.setLEDStyle(TLEDStyle::LEDHorizontal);
    led.setBlink(false);
    led.setValue(true);
    bool flip = false;
    for (auto _ : state) {
        led.setTrueColor(flip ? clRed : clYellow);
        flip = !flip;
    }
}

void PercentBox(benchmark::State& state)
{
    TGauge g;
    g.resize(38, int(state.range(0)));
    g.setKind(TGaugeKind::gkText);
    g.setColor(clBlack);
    g.setForeColor(clYellow);
    g.setFont(DesignFont("MS Sans Serif", -11, true));
    g.setBackColor(clWhite);
    g.setProgress(67);
    PaintLoop(state, &g);
}

} // namespace

BENCHMARK(DriveRowPanel)->Name("TGPanel drive row 686x20");
BENCHMARK(DriveRowGauge)->Name("TSTGauge gsHorzRect 100x18/percent")->Args({0, 18})->Args({67, 18})->Args({100, 18});
BENCHMARK(DriveRowGauge)->Name("TSTGauge gsHorzRect 100x19 (totals)/percent")->Args({100, 19});
BENCHMARK(MemoryArcGauge)->Name("TSTGauge gsArc 114x37 transparent/percent")->Arg(0)->Arg(50)->Arg(100);
BENCHMARK(MemoryArcGaugeChanging)->Name("TSTGauge gsArc 114x37 transparent, 99/100 in turn");
BENCHMARK(MemoryArcFirstPaint)->Name("TSTGauge gsArc 114x37 first paint, shapes kept")->Arg(0);
BENCHMARK(MemoryArcFirstPaint)->Name("TSTGauge gsArc 114x37 first paint, nothing kept")->Arg(1);
BENCHMARK(ArcWedges)->Name("Arc wedges 100 as one run")->Arg(0);
BENCHMARK(ArcWedges)->Name("Arc wedges 100 one by one")->Arg(1);
BENCHMARK(ArcWedges)->Name("Arc wedges 100 as one run (again)")->Arg(0);
BENCHMARK(RowLed)->Name("ThhALed LEDHorizontal 22x16")->Arg(int(TLEDStyle::LEDHorizontal));
BENCHMARK(RowLed)->Name("ThhALed LEDSmall 16x16")->Arg(int(TLEDStyle::LEDSmall));
BENCHMARK(LedRecolour)->Name("ThhALed TrueColor change (rebuild pictures)");
BENCHMARK(PercentBox)->Name("TGauge gkText 38x16")->Arg(16);
BENCHMARK(PercentBox)->Name("TGauge gkText 38x19 (totals)")->Arg(19);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    LoadDesignFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
