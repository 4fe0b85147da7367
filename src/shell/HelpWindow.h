// Kestrix's own help window: Linux has no WinHelp engine, so the program's
// help file (an HTML page) is shown here. One window serves every request.
#pragma once

#include <QString>

class QTextBrowser;

namespace HelpWindow {

// Shows the help file in the help window, opening the window or bringing
// it forward; false (and nothing shown) when the file cannot be read.
bool Show(const QString& helpFile);
// The window while it is open, else nullptr.
QTextBrowser* Current();

} // namespace HelpWindow
