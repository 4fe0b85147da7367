// Modal windows the user cannot lose. A window manager may minimise a modal
// window, or leave it on another desktop, while the windows it blocks stay
// in view and ignore every click: to the user the program looks frozen.
#pragma once

class QWidget;

// Tells the window manager that a parentless window about to be shown
// modally belongs to the window it blocks: the active window, else the
// application's main form. Window managers then keep it above that window
// and minimise and restore the two together. Does nothing for a window with
// a parent (Qt does this for it) or when there is no such window.
void AttachModalWindow(QWidget* modal);

// From the first call on, for the rest of the run: when a window blocked by
// a modal window becomes active while the modal window is minimised or not
// on the screen, the modal window is restored, raised and activated, as the
// user evidently wants to go on with it.
void KeepModalWindowsReachable();
