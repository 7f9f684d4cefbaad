// Title dispatch: tell the companion's windows apart by their exact titles,
// retitle each once, record it and run its rule set over its controls.
#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Win32.h"

HWND MainCnWnd = nullptr;
HWND MainEnWnd = nullptr;
HWND AboutWnd = nullptr;

namespace {

void Retitle(HWND wnd, const char* brand, winsys::WalkProc ruleSet) {
  // Window 0 would make the platform walk every program's top-level windows.
  if (!wnd) return;
  winsys::SetWindowTextA(wnd, brand);
  winsys::EnumChildWindows(wnd, ruleSet, 0);
}

}  // namespace

void TForm1::ApplyTitleRules(HWND wnd, const std::string& title) {
  if (TextEquals(title, TitleMainCn) || TextEquals(title, BrandMainCn)) {
    FreeSplash();
    if (wnd != MainCnWnd) {
      MainCnWnd = wnd;
      Retitle(wnd, BrandMainCn, MainCnChildProc);
    }
  }
  if (TextEquals(title, TitleAboutCn) && wnd != AboutWnd) {
    AboutWnd = wnd;
    Retitle(wnd, BrandAboutCn, AboutChildProc);
  }
  if (TextEquals(title, TitleMainEn) || TextEquals(title, BrandMainEn)) {
    FreeSplash();
    if (wnd != MainEnWnd) {
      MainEnWnd = wnd;
      Retitle(wnd, BrandMainEn, MainEnChildProc);
    }
  }
  if (TextEquals(title, TitleAboutEn) && wnd != AboutWnd) {
    AboutWnd = wnd;
    Retitle(wnd, BrandAboutEn, AboutChildProc);
  }
}
