#include "lookup/uProcessIDWin.h"

#include <cstring>
#include <optional>
#include <string>

#include "text/TextCompare.h"
#include "winsys/Win32.h"

namespace {

std::string_view ExeFileName(const PROCESSENTRY32& entry) {
  return {entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile)};
}

// The first entry of a fresh process list that `match` accepts.
template <typename Match>
std::optional<PROCESSENTRY32> FirstProcess(Match match) {
  winsys::ProcessSnapshot snapshot = winsys::CreateToolhelp32Snapshot();
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (bool more = winsys::Process32First(snapshot, entry); more;
       more = winsys::Process32Next(snapshot, entry)) {
    if (match(entry)) return entry;
  }
  return std::nullopt;
}

}  // namespace

DWORD GetProcessIdByExeName(std::string_view name) {
  const auto entry =
      FirstProcess([&](const PROCESSENTRY32& e) { return TextEquals(ExeFileName(e), name); });
  return entry ? entry->th32ProcessID : 0;
}

bool IsProcessNamed(DWORD pid, std::string_view name) {
  const auto entry = FirstProcess([&](const PROCESSENTRY32& e) { return e.th32ProcessID == pid; });
  return entry && TextEquals(ExeFileName(*entry), name);
}

HWND FindProcessWindow(DWORD pid) {
  if (pid == 0) return nullptr;
  TopWindowSearch search{pid, nullptr};
  winsys::EnumWindows(EnumTopWindowProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindProcessWindowTitled(DWORD pid, std::initializer_list<const char*> titles) {
  for (const TopWindow& top : TopWindows()) {
    if (top.pid != pid) continue;
    const std::string title = winsys::GetWindowTextA(top.wnd);
    for (const char* wanted : titles)
      if (wanted && TextEquals(title, wanted)) return top.wnd;
  }
  return nullptr;
}

std::vector<TopWindow> TopWindows() {
  std::vector<TopWindow> windows;
  winsys::EnumWindows(
      [](HWND wnd, LPARAM context) {
        reinterpret_cast<std::vector<TopWindow>*>(context)->push_back(
            {wnd, winsys::GetWindowThreadProcessId(wnd)});
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
