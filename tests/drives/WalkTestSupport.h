// Shared by the walk tests on the fake and on the real platform.
#pragma once

#include <functional>

#include "drives/FileInfo.h"

// A walk that pumps and reports at every folder, as the design has it.
inline TScanPacing EveryFolder(std::function<void()> pump = [] {})
{
    TScanPacing p;
    p.PumpMs = 0;
    p.StatusMs = 0;
    p.Pump = std::move(pump);
    return p;
}
