// The poll tick: keep the launcher out of sight, find the companion and the
// window the user is looking at, and hand it to the dispatch and the overlay.
// A re-label pass does the same work at once when the companion reports a
// window, between two ticks; the start-up retitles the main window before
// the controller exists.
#include <string>

#include "lookup/uProcessIDWin.h"
#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Failure.h"
#include "winsys/Win32.h"

namespace {

// The companion gone for this many consecutive ticks ends the launcher.
constexpr int32_t kMaxMissedTicks = 200;
// Where the hidden controller form is kept: off the screen.
constexpr int kOffScreenLeft = -800;

// A connection-failure box of the companion and the title of the main window
// it stands in front of.
struct ConnectionFailure {
  const char* title;
  const char* mainTitle;
};
const ConnectionFailure kConnectionFailures[] = {
    {TitleConnFailCn, TitleMainCn},
    {TitleConnFailEn, TitleMainEn},
};

// The title of the main window behind the companion's connection-failure
// box titled `title`, or nullptr for any other title.
const char* MainTitleBehindBox(const std::string& title) {
  for (const ConnectionFailure& box : kConnectionFailures)
    if (TextEquals(title, box.title)) return box.mainTitle;
  return nullptr;
}

// Looks past a connection-failure box to the main window, found by the full
// title the companion gives it: 0 once that window carries the brand. Only
// the companion's own windows count: another program's window may carry the
// same title.
void LookPastConnectionFailure(HWND& wnd, std::string& title) {
  if (const char* mainTitle = MainTitleBehindBox(title)) {
    title = mainTitle;
    wnd = FindProcessWindowTitled(winsys::GetWindowThreadProcessId(wnd), {mainTitle});
  }
}

}  // namespace

void TForm1::Timer1Timer(winsys::TObject*) {
  winsys::HideWindow(winsys::Application.Handle());
  SetVisible(false);
  SetLeft(kOffScreenLeft);

  HWND wnd = nullptr;
  const DWORD pid = GetProcessIdByExeName(CompanionExeName);
  FCompanionEvents.Follow(pid);
  if (pid) {
    wnd = FindProcessWindow(pid);
    FMissCount = 0;
  } else if (++FMissCount > kMaxMissedTicks) {
    Timer1.SetEnabled(false);
    Close();
  }
  if (wnd) Relabel(wnd);
}

// Never counts a miss and never ends the program: that is the tick's to do.
// A report names the process it came from: the process list is searched only
// when no process is followed yet (the first pass, at start-up).
void TForm1::FRelabelPassPosted(winsys::TObject*) {
  DWORD pid = FCompanionEvents.Followed();
  if (!pid) {
    pid = GetProcessIdByExeName(CompanionExeName);
    if (!pid) return;
    FCompanionEvents.Follow(pid);
  }
  if (HWND wnd = FindProcessWindow(pid)) Relabel(wnd);
  Timer3Timer(this);
}

void RetitleCompanionAtStart() {
  const DWORD pid = GetProcessIdByExeName(CompanionExeName);
  HWND wnd = FindProcessWindow(pid);
  if (!wnd) return;
  std::string title = winsys::GetWindowTextA(wnd);
  // The start-up watcher may have given the main window behind the box its
  // brand already: it is looked up by either title.
  if (const char* mainTitle = MainTitleBehindBox(title)) {
    title = mainTitle;
    wnd = FindProcessWindowTitled(pid, {mainTitle, MainWindowBrandFor(mainTitle)});
  }
  winsys::IgnoreFailure("the first retitle", [&] { ApplyMainWindowRules(wnd, title); });
}

void TForm1::Relabel(HWND wnd) {
  std::string title = winsys::GetWindowTextA(wnd);
  LookPastConnectionFailure(wnd, title);
  winsys::IgnoreFailure("the title dispatch", [&] { ApplyTitleRules(wnd, title); });
  if (title.empty()) FreeSplash();
  PaintAboutOverlay(wnd, title);
}
