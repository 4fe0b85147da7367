// Decoding the program's pictures cold (no cache), both ways in one run:
// every glyph and lamp of the resources and the hand cursors as start-up
// used to get them (XPM parsed by QImage, all five cursors made on first
// use), and as it gets them now (raw pixels copied out of the resources,
// only the hand pointer made, the one cursor start-up asks for). "all five
// cursors" makes the five from raw pixels too, for the same work as the XPM
// case. Read "Time" per iteration, one iteration being one start's worth.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QPixmap>
#include <cstdlib>

#include "toolkit/Pictures.h"

namespace {

struct CursorFile {
    const char* name;
    int hotX, hotY;
};
constexpr CursorFile kCursors[] = {
    {"handpoint", 7, 1}, {"smallhandpoint", 5, 1}, {"grabhand", 10, 10}, {"grabhandarrow", 1, 1}, {"draghand", 10, 10},
};

QStringList Names(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QImage Raw(const QString& path)
{
    return RawResourcePicture(path).convertToFormat(QImage::Format_RGB32);
}

void FromXpm(benchmark::State& state)
{
    InitResources();
    const QStringList glyphs = Names(":/glyphs"), leds = Names(":/leds");
    for (auto _ : state) {
        for (const QString& g : glyphs)
            benchmark::DoNotOptimize(QImage(":/glyphs/" + g).convertToFormat(QImage::Format_RGB32).constBits());
        for (const QString& l : leds)
            benchmark::DoNotOptimize(QImage(":/leds/" + l, "XPM").convertToFormat(QImage::Format_RGB32).constBits());
        for (const CursorFile& c : kCursors) {
            // QPixmap(path) would hit the pixmap cache after the first round.
            const QPixmap pix = QPixmap::fromImage(QImage(QStringLiteral(":/cursors/%1.xpm").arg(c.name)));
            benchmark::DoNotOptimize(QCursor(pix, c.hotX, c.hotY).hotSpot());
        }
    }
    state.counters["pictures"] = double(glyphs.size() + leds.size() + std::size(kCursors));
}

void FromRaw(benchmark::State& state)
{
    InitResources();
    const QStringList glyphs = Names(":/raw/glyphs"), leds = Names(":/raw/leds");
    const int cursors = int(state.range(0));
    for (auto _ : state) {
        for (const QString& g : glyphs)
            benchmark::DoNotOptimize(Raw(":/raw/glyphs/" + g).constBits());
        for (const QString& l : leds)
            benchmark::DoNotOptimize(Raw(":/raw/leds/" + l).constBits());
        for (int i = 0; i < cursors; ++i) {
            const QPixmap pix =
                QPixmap::fromImage(RawResourcePicture(QStringLiteral(":/raw/cursors/%1").arg(kCursors[i].name)));
            benchmark::DoNotOptimize(QCursor(pix, kCursors[i].hotX, kCursors[i].hotY).hotSpot());
        }
    }
    state.counters["pictures"] = double(glyphs.size() + leds.size() + cursors);
}

} // namespace

BENCHMARK(FromXpm)->Name("Start pictures from XPM, all five cursors (before)");
BENCHMARK(FromRaw)->Name("Start pictures from raw, hand pointer only (now)")->Arg(1);
BENCHMARK(FromRaw)->Name("Start pictures from raw, all five cursors")->Arg(5);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
