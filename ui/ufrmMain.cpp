#include "ui/ufrmMain.h"

#include "text/TextTable.h"
#include "winsys/Win32.h"

TForm1* Form1 = nullptr;

namespace {

// Both timers ask for a tick every 5 ms.
constexpr UINT kTickMs = 5;
// The splash thread's pause between two moves of the splash to the top.
constexpr DWORD kKeepOnTopPauseMs = 1;

const winsys::TForm::Description kForm1 = {
    /* class, caption  */ "TForm1",
    "Form1",
    /* design bounds   */ {586, 227, 453, 276},
    /* colour          */ winsys::clBtnFace,
    /* font            */ {"MS Sans Serif", -11, winsys::clWindowText},
    /* stays on top    */ true,
};

const winsys::FontStyle kLabelAboutFont = {"MS Sans Serif", -11, winsys::clBlue,
                                           /*bold=*/false, /*underline=*/true};

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

void TMythread::Execute() {
  while (!Terminated()) {
    winsys::SetWindowPosTop(FTargetWnd);
    winsys::Sleep(kKeepOnTopPauseMs);
  }
}
