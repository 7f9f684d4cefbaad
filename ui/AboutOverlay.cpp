// The launcher's picture painted over the companion's About box, and the
// address label's click.
#include <string>

#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/ufrmMain.h"
#include "winsys/Failure.h"
#include "winsys/Win32.h"

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
  winsys::ShellExecuteA(Handle(), OpenVerb, FLabelAbout.Caption().c_str());
}
