#include "ui/TitleDispatch.h"

#include <string>

#include "lookup/uProcessIDWin.h"
#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/RuleSets.h"
#include "ui/uShowTop.h"
#include "winsys/Failure.h"
#include "winsys/Win32Windows.h"

HWND MainCnWnd = nullptr;
HWND MainEnWnd = nullptr;
HWND AboutWnd = nullptr;

namespace {

// One kind of companion window: its main window or its About box, in one
// language. A new language is two more rows.
struct WindowKind {
  const char* title;         // the companion's own title
  const char* brand;         // the title the launcher gives it
  HWND* recorded;            // where the window last retitled is kept
  winsys::WalkProc ruleSet;  // run once over a newly seen window's controls
  bool mainWindow;           // known by its brand title too, frees the splash, gets the icons
};

// Every row is tested; the titles are distinct, so at most one matches.
const WindowKind kWindowKinds[] = {
    {TitleMainCn, BrandMainCn, &MainCnWnd, MainCnChildProc, true},
    {TitleAboutCn, BrandAboutCn, &AboutWnd, AboutChildProc, false},
    {TitleMainEn, BrandMainEn, &MainEnWnd, MainEnChildProc, true},
    {TitleAboutEn, BrandAboutEn, &AboutWnd, AboutChildProc, false},
};

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

// The longest a companion main window's thread may keep the launcher waiting
// for each of its icons.
constexpr UINT kIconTimeoutMs = 200;

// The brand's icons for the companion's main windows, at the sizes the system
// shows: the small one in the caption and on the taskbar button, the big one
// in Alt+Tab. The system destroys a program's icons when the program ends,
// and a window shows them for as long as it keeps them: loaded once, they
// live as long as the launcher, which outlives the companion's windows.
struct BrandIcons {
  winsys::IconHandle smallIcon = winsys::LoadIconResource("MAINICON", winsys::SmallIconSize());
  winsys::IconHandle bigIcon = winsys::LoadIconResource("MAINICON", winsys::BigIconSize());
};

const BrandIcons& Icons() {
  static const BrandIcons icons;
  return icons;
}

// A missing icon is not sent: the window would lose its own and show none.
void GiveBrandIcons(HWND wnd) {
  const BrandIcons& icons = Icons();
  if (icons.smallIcon)
    winsys::SendSetIconTimeout(wnd, ICON_SMALL, icons.smallIcon.get(), kIconTimeoutMs);
  if (icons.bigIcon) winsys::SendSetIconTimeout(wnd, ICON_BIG, icons.bigIcon.get(), kIconTimeoutMs);
}

// A retitled About box is not recognised again: its brand title is what the
// overlay waits for.
bool Recognises(const WindowKind& kind, const std::string& title) {
  return TextEquals(title, kind.title) || (kind.mainWindow && TextEquals(title, kind.brand));
}

// Retitles, records and walks a window of this kind seen for the first time;
// a main window then gets the brand's icons, after every text. The About
// box keeps its own: an owned window has no taskbar button, and a dialog's
// caption usually shows no icon, which one given would change.
void Retitle(const WindowKind& kind, HWND wnd) {
  if (wnd == *kind.recorded) return;  // seen before: handles are compared only
  *kind.recorded = wnd;
  winsys::SetWindowTextA(wnd, kind.brand);
  ApplyRuleSet(wnd, kind.ruleSet);
  if (kind.mainWindow) GiveBrandIcons(wnd);
}

// Looks past a connection-failure box to the main window of the box's
// program, found by the full title the companion gives it: 0 once that
// window carries the brand, except at start-up. Another program's window
// may carry the same title: only the companion's count.
void LookPastConnectionFailure(HWND& wnd, std::string& title, Relabelling who) {
  for (const ConnectionFailure& box : kConnectionFailures) {
    if (!TextEquals(title, box.title)) continue;
    const char* brand = who == Relabelling::StartUp ? MainWindowBrandFor(box.mainTitle) : nullptr;
    title = box.mainTitle;
    wnd = FindProcessWindowTitled(winsys::GetWindowThreadProcessId(wnd), {box.mainTitle, brand});
    return;
  }
}

}  // namespace

// The splash leaves the screen before the title changes, but its window is
// destroyed only after the retitle: destroying it takes longer than hiding
// it, and the user is looking at the vendor's title meanwhile.
void ApplyTitleRules(HWND wnd, const std::string& title, Relabelling who) {
  for (const WindowKind& kind : kWindowKinds) {
    if ((who == Relabelling::StartUp && !kind.mainWindow) || !Recognises(kind, title)) continue;
    if (kind.mainWindow) HideSplash();
    Retitle(kind, wnd);
    if (kind.mainWindow) FreeSplash();
  }
}

std::string RelabelWindow(HWND wnd, Relabelling who) {
  std::string title = winsys::GetWindowTextA(wnd);
  LookPastConnectionFailure(wnd, title, who);
  winsys::IgnoreFailure("the title dispatch", [&] { ApplyTitleRules(wnd, title, who); });
  return title;
}

void RetitleCompanionAtStart() {
  if (HWND wnd = FindProcessWindow(GetProcessIdByExeName(CompanionExeName)))
    RelabelWindow(wnd, Relabelling::StartUp);
}

const char* MainWindowBrandFor(const std::string& title) {
  for (const WindowKind& kind : kWindowKinds)
    if (kind.mainWindow && TextEquals(title, kind.title)) return kind.brand;
  return nullptr;
}

bool IsBrandTitle(const std::string& title) {
  for (const WindowKind& kind : kWindowKinds)
    if (TextEquals(title, kind.brand)) return true;
  return false;
}
