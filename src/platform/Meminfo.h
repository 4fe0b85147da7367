// Memory status from /proc/meminfo, in 64-bit figures.
#pragma once

#include <string>

#include "Platform.h"

// Fills the memory figures from the text of a meminfo file. False (and
// `status` untouched) when a field the record needs is missing or not a
// number.
bool ParseMeminfo(const std::string& text, MemoryStatus& status);

// Reads a meminfo file (normally /proc/meminfo); false when it cannot be
// read or lacks a field.
bool ReadMemoryStatus(const std::string& path, MemoryStatus& status);
