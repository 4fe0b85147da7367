// The four size units of the main window: the pressed unit button decides
// the unit; each has its divisor, number patterns and column captions.
#pragma once

#include <QString>

enum class TSizeUnit { Bytes, KBytes, MBytes, GBytes };

struct SizeUnitInfo {
    TSizeUnit Unit;
    long double Divisor;
    const char* RowPattern;    // the row figures
    const char* TotalsPattern; // the totals (begins with a space)
    const char* SizeCaption;   // header sections 1, 2, 3
    const char* FreeCaption;
    const char* UsedCaption;
};

// The units in the order bytes, kilobytes, megabytes, gigabytes.
const SizeUnitInfo& UnitInfo(TSizeUnit unit);
