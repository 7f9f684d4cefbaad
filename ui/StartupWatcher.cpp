#include "ui/StartupWatcher.h"

#include <algorithm>

#include "lookup/uProcessIDWin.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "winsys/Failure.h"
#include "winsys/Win32.h"
#include "winsys/WinEvents.h"

namespace {

// How often the top-level windows are walked where no report comes.
constexpr DWORD kWalkIntervalMs = 2;
// The longest the watcher waits for the companion to take its new title. A
// companion that does not take it sooner is not ready for input either, and
// the start-up retitles it once the start call returns.
constexpr UINT kRetitleTimeoutMs = 200;

struct EventRange {
  DWORD first, last;
};
// The reports that can mean a new or renamed top-level window.
const EventRange kEventRanges[] = {
    {EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW},  // destruction, between them, is skipped
    {EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE},
};

bool IsAboutATopLevelWindow(DWORD event, HWND wnd, LONG object, LONG child) {
  return event != EVENT_OBJECT_DESTROY && object == OBJID_WINDOW && child == CHILDID_SELF &&
         winsys::IsTopLevelWindow(wnd);
}

}  // namespace

void TStartupWatcher::Execute() {
  // A failure ends the watch, not the thread: its owner still asks it to
  // stop, through this object.
  winsys::IgnoreFailure("the start-up watcher", [this] { Watch(); });
  while (!Terminated()) winsys::Sleep(kWalkIntervalMs);
}

void TStartupWatcher::Watch() {
  std::vector<winsys::WinEventHook> hooks;  // released here, on the thread that made them
  for (const EventRange& range : kEventRanges) {
    hooks.push_back(winsys::SetWinEventHook(range.first, range.last, /*every other process*/ 0,
                                            [this](DWORD event, HWND wnd, LONG object, LONG child) {
                                              if (IsAboutATopLevelWindow(event, wnd, object, child))
                                                RetitleIfCompanionsMainWindow(
                                                    wnd, winsys::GetWindowThreadProcessId(wnd));
                                            }));
  }
  // This program's own windows belong to the thread that waits in the start
  // call: reading their titles would wait for it, so they are skipped.
  const DWORD self = winsys::CurrentProcessId();
  while (!Terminated()) {
    winsys::DispatchPendingMessages();  // the reports, each handled as it comes
    for (const TopWindow& top : TopWindows())
      if (top.pid != self) RetitleIfCompanionsMainWindow(top.wnd, top.pid);
    winsys::WaitForMessages(kWalkIntervalMs);
  }
}

void TStartupWatcher::RetitleIfCompanionsMainWindow(HWND wnd, DWORD pid) {
  const char* brand = MainWindowBrandFor(winsys::GetWindowTextA(wnd));
  if (!brand || wnd == FGivenUp || !IsCompanion(pid)) return;
  if (!winsys::SendSetTextTimeout(wnd, brand, kRetitleTimeoutMs)) FGivenUp = wnd;
}

// A window of another program that carries the companion's title is never
// touched: only the companion's executable counts.
bool TStartupWatcher::IsCompanion(DWORD pid) {
  if (std::find(FOtherProcesses.begin(), FOtherProcesses.end(), pid) != FOtherProcesses.end())
    return false;
  if (IsProcessNamed(pid, CompanionExeName)) return true;
  FOtherProcesses.push_back(pid);
  return false;
}
