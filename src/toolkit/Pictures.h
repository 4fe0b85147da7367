#pragma once

// Makes the pictures of resources/kestrix.qrc available (the resource file
// is compiled into a static library, so it must be registered explicitly).
// Safe to call more than once.
void InitResources();
