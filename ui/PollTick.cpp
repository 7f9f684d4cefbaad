// The poll tick: keep the launcher out of sight, find the companion and the
// window the user is looking at, and hand it to the dispatch and the overlay.
#include <string>

#include "lookup/uProcessIDWin.h"
#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Failure.h"
#include "winsys/Win32.h"

namespace {

// The companion gone for this many consecutive ticks ends the launcher.
constexpr int32_t kMaxMissedTicks = 200;

}  // namespace

void TForm1::Timer1Timer(winsys::TObject*) {
  winsys::HideWindow(winsys::Application.Handle());
  SetVisible(false);
  SetLeft(-800);

  HWND wnd = nullptr;
  if (DWORD pid = GetProcessIdByExeName(CompanionExeName)) {
    wnd = FindProcessWindow(pid);
    FMissCount = 0;
  } else if (++FMissCount > kMaxMissedTicks) {
    Timer1.SetEnabled(false);
    Close();
  }
  if (!wnd) return;

  std::string title = winsys::GetWindowTextA(wnd);
  // The connection-failure box stands in front of the main window: look past it.
  if (TextEquals(title, TitleConnFailCn)) {
    title = TitleMainCn;
    wnd = winsys::FindWindowA(TitleMainCn);
  }
  if (TextEquals(title, TitleConnFailEn)) {
    title = TitleMainEn;
    wnd = winsys::FindWindowA(TitleMainEn);
  }

  winsys::IgnoreFailure("the title dispatch", [&] { ApplyTitleRules(wnd, title); });
  if (title.empty()) FreeSplash();
  PaintAboutOverlay(wnd, title);
}
