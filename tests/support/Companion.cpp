#include "tests/support/Companion.h"

#include <cstdio>

#include "tests/support/Screen.h"
#include "tests/support/Wait.h"
#include "text/TextTable.h"

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

DWORD WaitForCompanion() {
  DWORD pid = 0;
  WaitUntil([&] {
    for (DWORD id : ProcessIdsNamed(CompanionExeName))
      if (CompanionMainWindow(id)) pid = id;
    return pid != 0;
  });
  return pid;
}

void NoCompanionLeft::End() {
  if (!KillProcessesNamed("Kestron.exe") || !KillProcessesNamed(CompanionExeName))
    std::fprintf(stderr, "a launcher or companion could not be ended\n");
}

bool WithAboutBox(DWORD pid, const std::function<bool(HWND about)>& check) {
  SendCompanionCommand(pid, kCmdOpenAbout);
  HWND about = nullptr;
  const bool held =
      WaitUntil([&] { return (about = CompanionAboutBox(pid)) != nullptr; }) && check(about);
  SendCompanionCommand(pid, kCmdCloseAbout);
  return WaitUntil([&] { return CompanionAboutBox(pid) == nullptr; }) && held;
}

int Stamps(const std::string& report, const std::string& what) {
  int count = 0;
  for (const std::string& line : ReadLines(report)) count += line.rfind(what + " ", 0) == 0;
  return count;
}
