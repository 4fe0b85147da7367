// The memory panel: three arc gauges with their captions and the available
// physical memory and swap space, all from the one memory reading of the run.
#include "app/FormatNumber.h"
#include "app/STSMain.h"

namespace {

// The share in use, in whole percent, from the free figure in whole
// hundredths of the total: 100 - available / (total / 100). A total below
// 100 bytes (no swap configured) reads as 0 rather than dividing by zero. A
// quotient above 100 (totals below 10,000 bytes) gives -1, which the gauge
// ignores, keeping its previous value.
int InUsePercent(std::uint64_t total, std::uint64_t available)
{
    const std::uint64_t hundredth = total / 100;
    if (hundredth == 0)
        return 0;
    const std::uint64_t quotient = available / hundredth;
    return quotient > 100 ? -1 : int(100 - quotient);
}

struct MemoryUnit {
    TLbSpeedButton* TForm1::*Button;
    long double Divisor;
    const char* Pattern;
    const char* Suffix; // begins with two spaces
};

constexpr MemoryUnit kMemoryUnits[] = {
    {&TForm1::BRbytes, 1.0L, "#,###;;0", "  bytes"},
    {&TForm1::BRkb, 1024.0L, "#,###;;0", "  kb"},
    {&TForm1::BRmb, 1048576.0L, "#,##0.00;;0", "  mb"},
};

} // namespace

void TForm1::SysInfo(QObject* sender)
{
    const MemoryStatus& m = MemStatus;

    // The captions read the RAM and swap gauges back, so they show
    // what the gauge shows even when it refused the value.
    GM_R->setPercent(InUsePercent(m.TotalPhys, m.AvailPhys));
    GM_RL->setCaption(QStringLiteral("RAM = %1%").arg(GM_R->Percent()));
    GM_S->setPercent(InUsePercent(m.TotalPageFile, m.AvailPageFile));
    GM_SL->setCaption(QStringLiteral("Swap = %1%").arg(GM_S->Percent()));
    GM_L->setPercent(m.MemoryLoad <= 100 ? int(m.MemoryLoad) : -1);
    GM_LL->setCaption(QStringLiteral("Load = %1%").arg(m.MemoryLoad));

    // Each pressed unit writes both panels; with none pressed they keep
    // their texts.
    for (const MemoryUnit& u : kMemoryUnits) {
        if (!(this->*u.Button)->Down())
            continue;
        const QString pattern = QString::fromLatin1(u.Pattern);
        const QString suffix = QString::fromLatin1(u.Suffix);
        LRAM->setCaption(FormatNumber(m.AvailPhys / u.Divisor, pattern) + suffix);
        LSwap->setCaption(FormatNumber(m.AvailPageFile / u.Divisor, pattern) + suffix);
    }

    // The memory buttons take the colours of their pressed state.
    ColorSort(sender);
}
