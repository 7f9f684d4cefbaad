// The launcher's entry sequence.
#pragma once

#include <string>

// The command line that starts the companion beside the launcher: the
// launcher's folder and the companion's file name, quoted so that a folder
// with blanks cannot make Windows run another program first.
std::string CompanionCommandLine(const std::string& programPath);

// Shows the splash, starts the companion, and runs the controller until the
// companion has gone. Returns the exit status, always 0.
int RunKestron();
