// The size units: the unit handler that rewrites the size columns, the
// header and the totals in the unit of the pressed button.
#include "app/FormatNumber.h"
#include "app/STSMain.h"

const SizeUnitInfo& UnitInfo(TSizeUnit unit)
{
    static const SizeUnitInfo table[] = {
        {TSizeUnit::Bytes, 1.0L, "#,###;;0", " #,###", "Size in Bytes", "Free in Bytes", "Used in Bytes"},
        {TSizeUnit::KBytes, 1024.0L, "#,###;;0", " #,###", "Size in KBytes", "Free in KBytes", "Used in KBytes"},
        {TSizeUnit::MBytes, 1048576.0L, "#,##0.00;;0", " #,##0.00", "Size in MegaBytes", "Free in MegaBytes",
         "Used in MegaBytes"},
        {TSizeUnit::GBytes, 1073741824.0L, "#,##0.00;;0", " #,##0.00", "Size in GigaBytes", "Free in GigaBytes",
         "Used in GigaBytes"},
    };
    return table[int(unit)];
}

namespace {

constexpr TSizeUnit kUnits[] = {TSizeUnit::Bytes, TSizeUnit::KBytes, TSizeUnit::MBytes, TSizeUnit::GBytes};

} // namespace

TLbSpeedButton* TForm1::UnitButton(TSizeUnit unit) const
{
    switch (unit) {
    case TSizeUnit::Bytes:
        return BytesBut;
    case TSizeUnit::KBytes:
        return KBytesBut;
    case TSizeUnit::MBytes:
        return MBytesBut;
    case TSizeUnit::GBytes:
        return GBytesBut;
    }
    return nullptr;
}

TAction* TForm1::UnitFlag(TSizeUnit unit) const
{
    switch (unit) {
    case TSizeUnit::Bytes:
        return BView;
    case TSizeUnit::KBytes:
        return KBView;
    case TSizeUnit::MBytes:
        return MBView;
    case TSizeUnit::GBytes:
        return GBView;
    }
    return nullptr;
}

const SizeUnitInfo* TForm1::CurrentUnit() const
{
    for (TSizeUnit u : kUnits)
        if (UnitButton(u)->Down())
            return &UnitInfo(u);
    return nullptr;
}

void TForm1::ViewSort(QObject* sender)
{
    // The scheme's colours follow the buttons' pressed state.
    ColorSort(sender);

    // The unit of the sender; any other sender keeps the current unit.
    const SizeUnitInfo* unit = nullptr;
    for (TSizeUnit u : kUnits)
        if (sender == UnitButton(u))
            unit = &UnitInfo(u);
    if (!unit)
        unit = CurrentUnit();
    if (!unit)
        return;
    for (TSizeUnit u : kUnits)
        UnitFlag(u)->setChecked(false);
    UnitButton(unit->Unit)->setDown(true);
    HeaderControl1->setSectionText(1, QString::fromLatin1(unit->SizeCaption));
    HeaderControl1->setSectionText(2, QString::fromLatin1(unit->FreeCaption));
    HeaderControl1->setSectionText(3, QString::fromLatin1(unit->UsedCaption));
    UnitFlag(unit->Unit)->setChecked(true);

    // The figures of every shown, answering drive.
    const long double divisor = unit->Divisor;
    const QString rowPattern = QString::fromLatin1(unit->RowPattern);
    for (DriveSlot& s : Slots) {
        std::int64_t size = 0, free = 0;
        if (!s.RowVisible() || !DriveFigures(s, size, free))
            continue;
        s.S->setCaption(FormatNumber(size / divisor, rowPattern));
        s.F->setCaption(FormatNumber(free / divisor, rowPattern));
        s.U->setCaption(FormatNumber(SubtractBytes(size, free) / divisor, rowPattern));
    }

    // A query that failed after the drive answered wrote "-1".
    for (TLabel* label : ComponentsOf<TLabel>())
        if (label->Caption() == QLatin1String("-1"))
            label->setCaption(QStringLiteral("0"));

    // Totals over the same drives, divided before the subtraction.
    std::int64_t totalSize = 0, totalFree = 0;
    ShownTotals(totalSize, totalFree);
    const long double sizeInUnit = totalSize / divisor;
    const long double freeInUnit = totalFree / divisor;
    const QString totalsPattern = QString::fromLatin1(unit->TotalsPattern);
    Label7->setCaption(FormatNumber(sizeInUnit - freeInUnit, totalsPattern));
    Label5->setCaption(FormatNumber(sizeInUnit, totalsPattern));
    Label6->setCaption(FormatNumber(freeInUnit, totalsPattern));

    // The totals' gauges follow, and an open details panel shows the new unit.
    TotalBar(sender);
    if (!PanDet->isHidden())
        DetVis(sender);
}

QObject* TForm1::RunPressedUnitButtons()
{
    QObject* last = nullptr;
    for (TSizeUnit u : kUnits) {
        if (TLbSpeedButton* b = UnitButton(u); b->Down()) {
            ViewSort(b);
            last = b;
        }
    }
    return last;
}

void TForm1::View1Click(QObject*)
{
    Options1->setVisible(true);
}
