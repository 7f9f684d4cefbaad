// A form: a borderless pop-up window built from a description, made on the
// first request of its handle, that paints its pictures and labels and owns
// the windows of its static texts.
#pragma once

#include <windows.h>

#include <vector>

#include "winsys/FrameworkWindow.h"
#include "winsys/Graphics.h"
#include "winsys/Object.h"

namespace winsys {

class TGraphicControl;
class TStaticText;

class TForm : public TObject {
 public:
  struct Description {
    const char* className;
    const char* caption;
    TBounds bounds;  // design position and client size
    TColor color;
    bool stayOnTop;
  };

  explicit TForm(const Description& description);
  ~TForm() override;

  HWND Handle();
  void Show();
  // Shows the window in its normal state, leaving activation where it is:
  // the user's keyboard stays with the program in front.
  void ShowWithoutActivating();
  void Repaint();
  void SetVisible(bool visible);
  // Takes the window off the screen at once and leaves activation where it
  // is: for a window about to be destroyed, which passes activation on then.
  void HideBeforeDestroy();
  void SetLeft(int left);
  void SetTop(int top);
  int Width() const { return description_.bounds.width; }
  int Height() const { return description_.bounds.height; }
  // Draws a bitmap at its natural size on the form's client area.
  void CanvasDraw(int x, int y, const TBitmap& bitmap);
  // For the main form: asks the event loop to quit; hides and frees nothing.
  void Close();

  // Called by the controls as they are created and detached.
  void AddGraphic(TGraphicControl* control) { graphics_.push_back(control); }
  void AddWindowed(TStaticText* control) { windowed_.push_back(control); }
  void RemoveWindowed(TStaticText* control);

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  friend TForm* BindWindow<TForm>(HWND, UINT, LPARAM);
  void Paint(HWND wnd);

  Description description_;
  int left_;
  int top_;
  HWND handle_ = nullptr;
  std::vector<TGraphicControl*> graphics_;
  std::vector<TStaticText*> windowed_;
};

}  // namespace winsys
