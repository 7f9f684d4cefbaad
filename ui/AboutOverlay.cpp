// The launcher's picture painted over the companion's About box, and the
// address label's click.
#include <string>
#include <utility>

#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/ufrmMain.h"
#include "winsys/Failure.h"
#include "winsys/Thread.h"
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

namespace {

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

void TForm1::FLabelAboutClick(winsys::TObject*) {
  (new TShellOpenThread(Handle(), FLabelAbout.Caption()))->Resume();
}
