// The controller: a hidden form whose timers follow the companion, re-label
// its windows and paint the launcher's picture into its About box. What it
// hands windows and titles to: the title dispatch (TitleDispatch.h), the rule
// sets (RuleSets.h) and the companion's window reports (CompanionEvents.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ui/CompanionEvents.h"
#include "winsys/Controls.h"
#include "winsys/Form.h"
#include "winsys/Graphics.h"
#include "winsys/Handles.h"
#include "winsys/PostedEvent.h"
#include "winsys/Thread.h"
#include "winsys/Timer.h"

class TForm1 : public winsys::TForm {
 public:
  TForm1();
  ~TForm1() override;

  winsys::TImage Image1;  // the About-box overlay picture
  winsys::TImage Image2;
  winsys::TStaticText FLabelAbout;  // the launcher's address, moved into the About box
  winsys::TTimer Timer1;            // the poll tick
  winsys::TTimer Timer3;            // re-applies the main-window rules

 private:
  // The tests' way to call one handler at a time; defined by the tests only.
  friend struct TForm1TestAccess;

  void FormCreate(winsys::TObject* Sender);
  void FormDestroy(winsys::TObject* Sender);
  void Timer1Timer(winsys::TObject* Sender);
  // A re-label pass asked for by the companion's window reports.
  void FRelabelPassPosted(winsys::TObject* Sender);
  // Hands the window the user is looking at to the dispatch and the overlay.
  void Relabel(HWND wnd);
  void Timer3Timer(winsys::TObject* Sender);
  // Takes the About box's drawing context, or paints the overlay through it.
  void PaintAboutOverlay(HWND wnd, const std::string& title);
  void FLabelAboutClick(winsys::TObject* Sender);

  int32_t FMissCount = 0;
  winsys::TPostedEvent FRelabelPass;
  CompanionEvents FCompanionEvents{FRelabelPass};
  std::unique_ptr<winsys::TCanvas> FOverlayCanvas;
  // The About box's context the canvas draws on; released when replaced.
  winsys::WindowDC FOverlayDC;
};

extern TForm1* Form1;

// Keeps the splash on top while the companion starts.
class TMythread : public winsys::TThread {
 public:
  HWND FTargetWnd = nullptr;

 protected:
  void Execute() override;
};
