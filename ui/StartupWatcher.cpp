#include "ui/StartupWatcher.h"

#include <algorithm>

#include "lookup/uProcessIDWin.h"
#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "winsys/Failure.h"
#include "winsys/Win32Windows.h"
#include "winsys/Win32Processes.h"
#include "winsys/Win32Shell.h"
#include "winsys/WinEvents.h"

namespace {

// How often the top-level windows are walked where no report comes.
constexpr DWORD kWalkIntervalMs = 2;
// The longest one retitle waits for the companion to take its new title. A
// send that times out is cancelled, not delivered later: the window is asked
// again on the next report or walk, until the start's wait is over.
constexpr UINT kRetitleTimeoutMs = 200;

struct EventRange {
  DWORD first, last;
};
// The reports that can mean a new or renamed top-level window.
const EventRange kEventRanges[] = {
    {EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW},  // destruction, between them, is skipped
    {EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE},
};

template <typename T>
bool Contains(const std::vector<T>& items, T item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

bool IsAboutAWindowItself(DWORD event, LONG object, LONG child) {
  return event != EVENT_OBJECT_DESTROY && object == OBJID_WINDOW && child == CHILDID_SELF;
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
                                              if (IsAboutAWindowItself(event, object, child))
                                                RetitleIfCompanionsMainWindow(wnd);
                                            }));
  }
  // This program's own windows belong to the thread that waits in the start
  // call: reading their titles would wait for it, so they are never read.
  // Nor are those of the other programs already running, but for any
  // companion, and the one being started (this program's child), which may
  // not have its name yet.
  const DWORD self = winsys::CurrentProcessId();
  FOtherProcesses.push_back(self);
  for (const ProcessEntry& process : ListProcesses()) {
    if (process.parent != self && !process.exeName.empty() &&
        !TextEquals(process.exeName, CompanionExeName))
      FOtherProcesses.push_back(process.pid);
  }
  while (!Terminated()) {
    winsys::DispatchPendingMessages();  // the reports, each handled as it comes
    for (HWND wnd : TopWindows()) RetitleIfCompanionsMainWindow(wnd);
    winsys::WaitForMessages(kWalkIntervalMs);
  }
}

void TStartupWatcher::RetitleIfCompanionsMainWindow(HWND wnd) {
  if (Contains(FOtherWindows, wnd)) return;
  const DWORD pid = winsys::GetWindowThreadProcessId(wnd);
  if (Contains(FOtherProcesses, pid)) {
    FOtherWindows.push_back(wnd);
    return;
  }
  const char* brand = MainWindowBrandFor(winsys::GetWindowTextA(wnd));
  if (!brand || !winsys::IsTopLevelWindow(wnd) || !IsCompanion(pid)) return;
  winsys::SendSetTextTimeout(wnd, brand, kRetitleTimeoutMs);
}

// A window of another program that carries the companion's title is never
// touched: only the companion's executable counts. A process whose name the
// platform does not know yet is asked again next time.
bool TStartupWatcher::IsCompanion(DWORD pid) {
  const std::string name = ExeNameOf(pid);
  if (TextEquals(name, CompanionExeName)) return true;
  if (!name.empty()) FOtherProcesses.push_back(pid);
  return false;
}
