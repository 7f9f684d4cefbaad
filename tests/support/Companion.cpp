#include "tests/support/Companion.h"

#include "tests/support/Screen.h"
#include "tests/support/Wait.h"

std::string CompanionCommand(const std::string& folder) { return "\"" + folder + "Korvastel\""; }

HWND CompanionMainWindow(DWORD pid) { return TopWindowOfClass(pid, "KorvastelMain"); }
HWND CompanionAboutBox(DWORD pid) { return TopWindowOfClass(pid, "KorvastelAbout"); }

void SendCompanionCommand(DWORD pid, int command, LPARAM argument) {
  PostMessageA(CompanionMainWindow(pid), WM_COMMAND, command, argument);
}

bool StartCompanion(ChildProcess& process) {
  return process.Started() &&
         WaitUntil([&] { return CompanionMainWindow(process.Pid()) != nullptr; });
}

bool WithAboutBox(DWORD pid, const std::function<bool(HWND about)>& check) {
  SendCompanionCommand(pid, kCmdOpenAbout);
  HWND about = nullptr;
  const bool held =
      WaitUntil([&] { return (about = CompanionAboutBox(pid)) != nullptr; }) && check(about);
  SendCompanionCommand(pid, kCmdCloseAbout);
  return WaitUntil([&] { return CompanionAboutBox(pid) == nullptr; }) && held;
}
