// The five hand cursors the link controls register at start-up, by number.
#pragma once

#include <QCursor>

// Numbers of the registered cursors.
constexpr int crProHandPoint = 15000;      // PRO_HANDPOINT
constexpr int crProSmallHandPoint = 15001; // PRO_SMALLHANDPOINT
constexpr int crProGrabHand = 15002;       // PRO_GRABHAND
constexpr int crProGrabHandArrow = 15003;  // PRO_GRABHANDARROW
constexpr int crProDragHand = 15004;       // PRO_DRAGHAND

// The cursor registered under `id` (the arrow for an unknown number). Each
// picture is loaded from the resources the first time its cursor is asked
// for.
QCursor ProCursor(int id);
