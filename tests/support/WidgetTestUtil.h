// Helpers for the widget tests: paint counting (to tell "redraw at once"
// from "schedule a repaint") and pictures written as text.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace kestrix::test {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w)
    {
        w->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Shows a widget and lets every pending paint happen.
inline void ShowSettled(QWidget* w)
{
    w->show();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The rectangle (left, top, right, bottom exclusive) of img as text, one
// character a pixel by the legend; '?' for a colour not in it.
inline std::vector<std::string> AsText(const QImage& img, int left, int top, int right, int bottom,
                                       const std::map<TColor, char>& legend)
{
    std::vector<std::string> rows;
    for (int y = top; y < bottom; ++y) {
        std::string row;
        for (int x = left; x < right; ++x) {
            const auto it = legend.find(PixelAt(img, x, y));
            row += it == legend.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace kestrix::test
