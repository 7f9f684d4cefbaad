// The launcher's entry sequence.
#pragma once

#include <string>

// The companion's full path: the launcher's folder and the companion's name.
std::string CompanionPath(const std::string& programPath);

// Shows the splash, starts the companion, and runs the controller until the
// companion has gone. Returns the exit status: 0, also once an elevated
// launcher took over a companion that needs administrator rights; when the
// companion could not be started, the platform's code for the reason (1
// where it gave none); 1 after the error box for a window that could not be
// made.
int RunKestron();
