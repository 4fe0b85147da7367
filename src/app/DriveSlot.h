// The 24 fixed drive slots C..Z of the main window and the used-percentage
// rule shared by the rows, the LEDs and the totals.
#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

class TGPanel;
class TLbSpeedButton;
class TLabel;
class TSTGauge;
class TGauge;
class ThhALed;
class TMenuItem;

// One letter C..Z with its row controls and its show flag. Every pass over
// the drives runs over the slots in letter order.
struct DriveSlot {
    QChar Letter;

    // "C:\"
    QString RootPath() const;
    // For DiskSize/DiskFree: C = 3 .. Z = 26.
    int DriveNumber() const { return Letter.unicode() - 64; }
    // For the drive information collection: C = 2 .. Z = 25.
    int DriveIndex() const { return Letter.unicode() - 65; }
    // The row is shown (its own flag, whatever the window's state).
    bool RowVisible() const;

    TGPanel* Pan = nullptr;         // PanX
    TLbSpeedButton* Button = nullptr; // X
    TLabel* VolLabel = nullptr;     // VolLabelX
    TLabel* S = nullptr;            // SX: size
    TLabel* F = nullptr;            // FX: free
    TLabel* U = nullptr;            // UX: used
    TSTGauge* G = nullptr;          // GX
    TGauge* Per = nullptr;          // PerX
    ThhALed* Led = nullptr;         // LedX
    TMenuItem* Flag = nullptr;      // dX1: the user's choice to show the row
};

constexpr int kDriveSlots = 24;

// 100 - free div (size div 100) in 64-bit integers: a full drive gives 100,
// an empty one 0. A size below 100 bytes (also the -1 of a drive that does
// not answer) has no hundredth to divide by and gives 0.
int UsedPercent(std::int64_t size, std::int64_t free);

// Byte arithmetic that holds at the 64-bit limits instead of overflowing: a
// filesystem may report absurd figures, which the platform caps at the
// largest value, and sums or differences of such figures must not wrap.
std::int64_t AddBytes(std::int64_t a, std::int64_t b);
std::int64_t SubtractBytes(std::int64_t a, std::int64_t b);

// The figures of an answering drive: false when the drive does not answer
// (size and free then stay as they were); otherwise its size and free bytes,
// each asked afresh (-1 for a query that failed after all).
bool DriveFigures(const DriveSlot& slot, std::int64_t& size, std::int64_t& free);
