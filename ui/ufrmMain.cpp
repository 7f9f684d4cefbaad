#include "ui/ufrmMain.h"

#include <string>
#include <utility>

#include "lookup/uProcessIDWin.h"
#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/RuleSets.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"
#include "winsys/Application.h"
#include "winsys/Failure.h"
#include "winsys/Win32Windows.h"
#include "winsys/Win32Shell.h"

TForm1* Form1 = nullptr;

namespace {

// Both timers ask for a tick every 5 ms.
constexpr UINT kTickMs = 5;
// The companion gone for this many consecutive ticks ends the launcher.
constexpr int32_t kMaxMissedTicks = 200;
// Where the hidden controller form is kept: off the screen.
constexpr int kOffScreenLeft = -800;
// The splash thread's pause between two moves of the splash to the top.
constexpr DWORD kKeepOnTopPauseMs = 1;

const winsys::TForm::Description kForm1 = {
    /* class, caption  */ "TForm1",
    "Form1",
    /* design bounds   */ {586, 227, 453, 276},
    /* colour          */ winsys::clBtnFace,
    /* stays on top    */ true,
};

const winsys::FontStyle kLabelAboutFont = {"MS Sans Serif", -11, winsys::clBlue,
                                           /*bold=*/false, /*underline=*/true};

// Opens an address through the shell on a thread of its own. While the label
// lives in the companion's About box, the launcher's thread shares the
// companion's input (a child window's thread shares it with its parent's), and
// the shell call takes seconds while a browser starts: made there, it would
// freeze the About box meanwhile. Started by the label's click; it shares
// nothing with the main thread (its own copy of the address, and the owner
// window's handle as a value); it ends when the shell call returns and frees
// itself. Nothing waits for it: should the launcher end first, the thread
// ends with the process.
class TShellOpenThread : public winsys::TThread {
 public:
  TShellOpenThread(HWND owner, std::string file) : owner_(owner), file_(std::move(file)) {
    FreeOnTerminate = true;
  }

 protected:
  void Execute() override {
    const winsys::ShellComScope com;  // the shell may hand the call to COM objects
    winsys::ShellExecuteA(owner_, OpenVerb, file_.c_str());
  }

 private:
  const HWND owner_;
  const std::string file_;
};

}  // namespace

TForm1::TForm1()
    : TForm(kForm1),
      Image1(*this, {-150, 0, 145, 381}, "OVERLAY", /*stretch=*/false),
      Image2(*this, {0, 0, 453, 276}, "SPLASH", /*stretch=*/false),
      FLabelAbout(*this, {-150, 212, 121, 17}, OwnWebAddress, kLabelAboutFont),
      Timer1(kTickMs, /*enabled=*/false, [this](winsys::TObject* s) { Timer1Timer(s); }),
      Timer3(kTickMs, /*enabled=*/true, [this](winsys::TObject* s) { Timer3Timer(s); }),
      FRelabelPass([this](winsys::TObject* s) { FRelabelPassPosted(s); }) {
  FLabelAbout.OnClick = [this](winsys::TObject* s) { FLabelAboutClick(s); };
  FormCreate(this);
}

TForm1::~TForm1() { FormDestroy(this); }

void TForm1::FormCreate(winsys::TObject*) {
  FOverlayCanvas = std::make_unique<winsys::TCanvas>();
  Timer1.SetEnabled(true);
  FRelabelPass.Post();  // the first pass: the loop's first event, before any tick
}

void TForm1::FormDestroy(winsys::TObject*) {
  FOverlayCanvas.reset();
  FOverlayDC.Reset();
  FCompanionEvents.Follow(0);
}

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

void TForm1::Relabel(HWND wnd) {
  const std::string title = RelabelWindow(wnd, Relabelling::Controller);
  if (title.empty()) FreeSplash();
  RetryAddressLabel(wnd);
  PaintAboutOverlay(wnd, title);
}

void TForm1::Timer3Timer(winsys::TObject*) {
  // The companion may close a window mid-walk; the next tick walks again.
  winsys::IgnoreFailure("re-applying the main-window rules", [] {
    ApplyRuleSet(MainCnWnd, MainCnChildProc);
    ApplyRuleSet(MainEnWnd, MainEnChildProc);
  });
}

void TForm1::PaintAboutOverlay(HWND, const std::string& title) {
  // The box still carries its own title on the tick that retitles it.
  if (TextEquals(title, TitleAboutCn) || TextEquals(title, TitleAboutEn)) {
    // The previous box's context goes back first: drawing contexts come from
    // a cache the whole system shares, and the new box may be handed the
    // very context the old one had.
    FOverlayDC.Reset();
    FOverlayDC = winsys::GetDC(AboutWnd);
    FOverlayCanvas->SetHandle(FOverlayDC.get());
  }
  if (!TextEquals(title, BrandAboutCn) && !TextEquals(title, BrandAboutEn)) return;
  // Without a context (a box retitled before the launcher started) there is
  // nothing to draw on.
  winsys::IgnoreFailure("painting the About-box overlay",
                        [this] { FOverlayCanvas->Draw(0, 0, Image1.Picture()); });
}

void TForm1::FLabelAboutClick(winsys::TObject*) {
  (new TShellOpenThread(Handle(), FLabelAbout.Caption()))->Resume();
}

void TMythread::Execute() {
  while (!Terminated()) {
    winsys::SetWindowPosTop(FTargetWnd);
    winsys::Sleep(kKeepOnTopPauseMs);
  }
}
