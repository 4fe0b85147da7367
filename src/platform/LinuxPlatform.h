// The real platform on Linux: drive letters mapped onto mounts, statvfs with
// a timeout, volume identity from libblkid, /proc/meminfo, the desktop's
// "open" through Qt.
#pragma once

#include "Platform.h"

// The process-wide Linux platform.
Platform& RealPlatform();
