// Calls the controller form's handlers one at a time, as its timers, its
// label and the poll tick call them, for the tests and the benchmark; and
// clears what the dispatch recorded.
#pragma once

#include <windows.h>

#include <string>

#include "ui/TitleDispatch.h"
#include "ui/ufrmMain.h"

struct TForm1TestAccess {
  TForm1& form;
  void Timer1Timer() { form.Timer1Timer(&form); }
  void Timer3Timer() { form.Timer3Timer(&form); }
  void FRelabelPassPosted() { form.FRelabelPassPosted(&form); }
  void Relabel(HWND wnd) { form.Relabel(wnd); }
  void ApplyTitleRules(HWND wnd, const std::string& title) {
    ::ApplyTitleRules(wnd, title, Relabelling::Controller);
  }
  void PaintAboutOverlay(HWND wnd, const std::string& title) { form.PaintAboutOverlay(wnd, title); }
};

// The handlers of the controller form in Form1.
inline TForm1TestAccess Controller() { return {*Form1}; }

// Forgets the companion windows the dispatch recorded, as a launcher just
// started has none.
inline void ForgetRecordedWindows() { MainCnWnd = MainEnWnd = AboutWnd = nullptr; }
