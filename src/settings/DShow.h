// The "Drives to show" dialog: one row per existing drive letter C..Z with a
// check box "Drive X" and the drive's display name. Ticking or clearing a
// box shows or hides the drive's row in the main window at once and sets
// its show flag, which the settings store keeps across runs.
#pragma once

#include <QChar>
#include <QString>
#include <array>

#include "toolkit/Form.h"
#include "toolkit/HeaderControl.h"
#include "toolkit/Label.h"
#include "toolkit/MenuItem.h"
#include "widgets/GPanel.h"
#include "widgets/HyperCheckBox.h"
#include "widgets/LbSpeedButton.h"

// Height of a drive row, in the main window and in this dialog alike: a box
// of the dialog shows or hides one row there and grows or shrinks that
// window by this much.
constexpr int kDriveRowHeight = 20;

// What the dialog needs of the main window (which implements it: the main
// window's library depends on this one, not the other way round).
class TDShowHost {
public:
    // The show flag dX1 of a letter C..Z.
    virtual TMenuItem* ShowFlag(QChar letter) = 0;
    // The main window's row PanX of a letter C..Z.
    virtual TGPanel* DriveRow(QChar letter) = 0;
    // The main window's rule: makes the row visible when the root ("C:\")
    // names an existing drive; never hides it.
    virtual void ShowDrive(const QString& rootPath, TGPanel* row) = 0;
    // Changes the height of the drive area PanKestrix and of the window by
    // delta pixels each.
    virtual void ResizeDriveArea(int delta) = 0;
    // Runs the click handler of every pressed unit button, the button as
    // sender: figures, header and totals in the current unit. Returns the
    // last button run, nullptr when none is down.
    virtual QObject* RunPressedUnitButtons() = 0;
    virtual void TotalBar(QObject* sender) = 0;
    // Shows the rows of the flagged, existing drives, then the full refresh.
    virtual void DriveShow(QObject* sender) = 0;

protected:
    ~TDShowHost() = default;
};

class TDShowForm : public TForm {
    Q_OBJECT
public:
    // Builds the layout (every row hidden), then FormCreate ticks the boxes
    // from the host's flags. The dialog belongs to the application: it has
    // no parent and frees itself when it closes.
    explicit TDShowForm(TDShowHost& host);
    ~TDShowForm() override;

    struct Row {
        QChar Letter;
        TGPanel* P = nullptr;         // PX
        THyperCheckBox* C = nullptr;  // CX: "Drive X"
        TLabel* TL = nullptr;         // TL3 (C) .. TL26 (Z): the display name
    };

    TPanel* TopPan = nullptr;
    TLbSpeedButton* SpeedButton1 = nullptr;
    THeaderControl* HeaderControl1 = nullptr;
    // C..Z in letter order.
    std::array<Row, 24> Rows;
    // The row of a letter C..Z (either case); a letter outside C..Z names
    // no row and is refused.
    Row& RowOf(QChar letter);

    // The height as the layout counts it: the client area (top panel,
    // header and rows) plus the 23 pixels a Windows tool window's caption
    // and frame took. Here the window manager's frame lies outside the
    // client area, so the client area is this height less 23.
    static constexpr int kFrameAllowance = 23;
    // The header between the top panel and the rows.
    static constexpr int kHeaderHeight = 17;
    // What the layout adds to the top panel and the rows for the dialog's
    // height: the header and the caption and frame (17 + 23 = 40).
    static constexpr int kHeaderAndFrame = kHeaderHeight + kFrameAllowance;
    int OuterHeight() const { return height() + kFrameAllowance; }
    void setOuterHeight(int h);
    // Number of rows shown (those of existing drives once filled).
    int VisibleRows() const;

    // --- handlers
    void FormCreate(QObject* sender);
    // Shared by the 24 boxes: the sender selects the drive.
    void CCMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void SpeedButton1Click(QObject* sender);
    void FormClose(QObject* sender, TCloseAction& action);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BuildLayout();

    TDShowHost& host_;
};
