#include "ui/ufrmMain.h"

#include "text/TextTable.h"
#include "winsys/Win32.h"

using namespace winsys;

TForm1* Form1 = nullptr;

namespace {

const TForm::Description kForm1 = {
    /* class, caption  */ "TForm1", "Form1",
    /* design bounds   */ {586, 227, 453, 276},
    /* colour          */ clBtnFace,
    /* font            */ {"MS Sans Serif", -11, clWindowText},
    /* stays on top    */ true,
};

const FontStyle kLabelAboutFont = {"MS Sans Serif", -11, clBlue, /*bold=*/false,
                                   /*underline=*/true};

}  // namespace

TForm1::TForm1()
    : TForm(kForm1),
      Image1(*this, {-150, 0, 145, 381}, "OVERLAY", /*stretch=*/false),
      Image2(*this, {0, 0, 453, 276}, "SPLASH", /*stretch=*/false),
      FLabelAbout(*this, {-150, 212, 121, 17}, OwnWebAddress, kLabelAboutFont),
      Timer1(5, /*enabled=*/false, [this](TObject* s) { Timer1Timer(s); }),
      Timer3(5, /*enabled=*/true, [this](TObject* s) { Timer3Timer(s); }) {
  FLabelAbout.OnClick = [this](TObject* s) { FLabelAboutClick(s); };
  FormCreate(this);
}

TForm1::~TForm1() { FormDestroy(this); }

void TForm1::FormCreate(TObject*) {
  FOverlayCanvas = std::make_unique<TCanvas>();
  Timer1.SetEnabled(true);
}

void TForm1::FormDestroy(TObject*) {
  FOverlayCanvas.reset();
  FOverlayDC.Reset();
}

void TMythread::Execute() {
  while (!Terminated()) {
    winsys::SetWindowPosTop(FTargetWnd);
    winsys::Sleep(1);
  }
}
