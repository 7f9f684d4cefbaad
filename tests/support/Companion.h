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
// How many times the companion stamped `what` in its report (KORVASTEL_REPORT).
int Stamps(const std::string& report, const std::string& what);
// Waits until the started companion's main window exists.
bool StartCompanion(ChildProcess& process);
// Waits until a companion, started by whichever program, shows its main
// window; its process id, or 0 when none did in time.
DWORD WaitForCompanion();

// Ends every running companion, and every launcher that would start one again,
// when made and again when destroyed: whoever holds one starts with none
// running and leaves none behind.
class NoCompanionLeft {
 public:
  NoCompanionLeft() { End(); }
  ~NoCompanionLeft() { End(); }
  NoCompanionLeft(const NoCompanionLeft&) = delete;
  NoCompanionLeft& operator=(const NoCompanionLeft&) = delete;

 private:
  static void End();
};
// Opens the companion's About box, hands it to `check` once it exists, then
// closes it and waits until it is gone. False when no box came or `check` said so.
bool WithAboutBox(DWORD pid, const std::function<bool(HWND about)>& check);
