#pragma once
// Printing the whole text of a text box as one job: the chart and the
// figured schedule's report.
#include <string_view>

#include "app/platform_port.h"

class QPlainTextEdit;

// Prints the box's text on the current printer in the given font, without
// a dialog. The box shows the printer's font while the job is laid out and
// gets its screen font back however the job ends. Returns whether the job
// was printed.
bool PrintTextBox(QPlainTextEdit* box, PlatformPort& port, std::string_view fontFamily,
                  int pointSize, std::string_view jobTitle);
