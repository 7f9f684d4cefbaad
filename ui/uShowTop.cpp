#include "ui/uShowTop.h"

#include "text/TextTable.h"
#include "winsys/Win32Shell.h"

TForm2* Form2 = nullptr;

namespace {

// The splash repaints its picture every 5 ms.
constexpr UINT kRepaintMs = 5;
// The splash sits this far above the screen's centre.
constexpr int kAboveCentre = 28;

const winsys::TForm::Description kForm2 = {
    /* class, caption  */ "TForm2",
    "Form2",
    /* design bounds   */ {501, 236, 468, 316},
    /* colour          */ winsys::clBtnFace,
    /* stays on top    */ true,
};

constexpr char kSimSun[] = "\xCB\xCE\xCC\xE5";  // "宋体"

}  // namespace

TForm2::TForm2()
    : TForm(kForm2),
      Image1(*this, {0, 0, 468, 316}, "SPLASH", /*stretch=*/true),
      Label1(*this, {192, 64, 241, 41}, BrandSplashCaption,
             {kSimSun, -27, winsys::clRed, /*bold=*/true}, /*autoSize=*/false),
      Label2(*this, {16, 272, 74, 13}, "Load Settings...", {"MS Sans Serif", -11, winsys::clBlue},
             /*autoSize=*/true),
      Timer1(kRepaintMs, /*enabled=*/true, [this](winsys::TObject* s) { Timer1Timer(s); }) {
  FormCreate(this);
}

void TForm2::FormCreate(winsys::TObject*) {
  SetLeft((winsys::ScreenWidth() - Width()) / 2);
  SetTop((winsys::ScreenHeight() - Height()) / 2 - kAboveCentre);
}

// Paints the picture at its natural size over the whole surface, labels included.
void TForm2::Timer1Timer(winsys::TObject*) { CanvasDraw(0, 0, Image1.Picture()); }

void FreeSplash() {
  delete Form2;
  Form2 = nullptr;
}

void HideSplash() {
  if (Form2) Form2->HideBeforeDestroy();
}
