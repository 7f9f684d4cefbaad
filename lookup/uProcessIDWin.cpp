#include "lookup/uProcessIDWin.h"

#include <cstring>
#include <optional>
#include <string>

#include "text/TextCompare.h"
#include "winsys/Win32Windows.h"
#include "winsys/Win32Processes.h"

namespace {

std::string_view ExeFileName(const PROCESSENTRY32& entry) {
  return {entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile)};
}

// Hands each entry of a fresh process list to `visit` until it returns false.
template <typename Visit>
void ForEachProcess(Visit visit) {
  winsys::ProcessSnapshot snapshot = winsys::CreateToolhelp32Snapshot();
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool more = winsys::Process32First(snapshot, entry);
  while (more && visit(entry)) more = winsys::Process32Next(snapshot, entry);
}

// The process list holds every user's processes: with fast user switching
// or Remote Desktop, another user's companion is in it too, and its windows
// are out of reach. A process whose session the platform will not tell is
// taken for another's; where it will not tell this program's own, every
// process counts as of this session.
bool InOwnSession(DWORD pid) {
  const std::optional<DWORD> own = winsys::ProcessIdToSessionId(winsys::CurrentProcessId());
  if (!own) return true;
  return winsys::ProcessIdToSessionId(pid) == own;
}

}  // namespace

DWORD GetProcessIdByExeName(std::string_view name) {
  DWORD found = 0;
  ForEachProcess([&](const PROCESSENTRY32& entry) {
    if (TextEquals(ExeFileName(entry), name) && InOwnSession(entry.th32ProcessID))
      found = entry.th32ProcessID;
    return found == 0;
  });
  return found;
}

std::string ExeNameOf(DWORD pid) {
  std::string name;
  ForEachProcess([&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID != pid) return true;
    name = ExeFileName(entry);
    return false;
  });
  return name;
}

std::vector<ProcessEntry> ListProcesses() {
  std::vector<ProcessEntry> processes;
  ForEachProcess([&](const PROCESSENTRY32& entry) {
    processes.push_back(
        {entry.th32ProcessID, entry.th32ParentProcessID, std::string(ExeFileName(entry))});
    return true;
  });
  return processes;
}

HWND FindProcessWindow(DWORD pid) {
  if (pid == 0) return nullptr;
  TopWindowSearch search{pid, nullptr};
  winsys::EnumWindows(EnumTopWindowProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindProcessWindowTitled(DWORD pid, std::initializer_list<const char*> titles) {
  for (HWND wnd : TopWindows()) {
    if (winsys::GetWindowThreadProcessId(wnd) != pid) continue;
    const std::string title = winsys::GetWindowTextA(wnd);
    for (const char* wanted : titles)
      if (wanted && TextEquals(title, wanted)) return wnd;
  }
  return nullptr;
}

std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  winsys::EnumWindows(
      [](HWND wnd, LPARAM context) {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(wnd);
        return true;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool EnumTopWindowProc(HWND wnd, LPARAM context) {
  auto* search = reinterpret_cast<TopWindowSearch*>(context);
  if (winsys::GetWindowThreadProcessId(wnd) == search->pid && winsys::IsWindowVisible(wnd) &&
      winsys::IsWindowEnabled(wnd)) {
    search->found = wnd;
    return false;
  }
  return true;
}
