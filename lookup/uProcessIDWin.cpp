#include "lookup/uProcessIDWin.h"

#include <cstring>

#include "text/TextCompare.h"
#include "winsys/Win32.h"

namespace {

std::string_view ExeFileName(const PROCESSENTRY32& entry) {
  return {entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile)};
}

}  // namespace

DWORD GetProcessIdByExeName(std::string_view name) {
  winsys::ProcessSnapshot snapshot = winsys::CreateToolhelp32Snapshot();
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (bool more = winsys::Process32First(snapshot, entry); more;
       more = winsys::Process32Next(snapshot, entry)) {
    if (TextEquals(ExeFileName(entry), name)) return entry.th32ProcessID;
  }
  return 0;
}

HWND FindProcessWindow(DWORD pid) {
  if (pid == 0) return nullptr;
  TopWindowSearch search{pid, nullptr};
  winsys::EnumWindows(EnumTopWindowProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
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
