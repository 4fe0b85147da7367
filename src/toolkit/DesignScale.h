// The window's picture is fixed in design pixels. On a scaled desktop (a
// device pixel ratio other than 1: the desktop's scale, or QT_SCALE_FACTOR)
// every widget still paints its one-times picture, and that picture is shown
// scaled: each pixel an s x s block at a whole ratio, smoothly at a fractional
// one. Qt alone would draw the bitmap fonts at their one-times size on
// two-times spacing, and lines and fills at two times, which breaks the
// picture the layout fixes.
//
// One application-wide filter does it for every widget of the program (the
// drawn controls, the toolkit's own, Qt's menu bar, menus and message boxes):
// it takes each paint event meant for a device of another ratio, renders the
// widget alone (children paint on their own) into a transparent image of its
// logical size at ratio 1, and draws that image over the widget's area.
// Geometry stays logical throughout, so positions, sizes and the mouse's hit
// areas scale with the desktop by themselves.
#pragma once


// Installs the filter on the application (once; later calls do nothing).
// Painting at ratio 1 goes on as before.
void PaintInDesignPixels();
