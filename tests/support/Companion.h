// The stand-in companion: starting it, its windows and its commands.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/companion/CompanionProtocol.h"
#include "tests/support/Processes.h"

// The command line that starts the companion file of this folder.
std::string CompanionCommand(const std::string& folder = BinFolder());
HWND CompanionMainWindow(DWORD pid);
HWND CompanionAboutBox(DWORD pid);
void SendCompanionCommand(DWORD pid, int command, LPARAM argument = 0);
// Waits until the started companion's main window exists.
bool StartCompanion(ChildProcess& process);
// Opens the companion's About box, hands it to `check` once it exists, then
// closes it and waits until it is gone. False when no box came or `check` said so.
bool WithAboutBox(DWORD pid, const std::function<bool(HWND about)>& check);
