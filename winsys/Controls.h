// The controls a form holds: pictures and labels painted on its surface, and
// a static text with a window of its own that can move into a foreign window.
#pragma once

#include <windows.h>

#include <string>

#include "winsys/Form.h"
#include "winsys/FrameworkWindow.h"
#include "winsys/Graphics.h"
#include "winsys/Object.h"

namespace winsys {

// A component painted on its form's surface, in creation order.
class TGraphicControl : public TObject {
 public:
  virtual void Paint(HDC dc) = 0;
};

class TImage : public TGraphicControl {
 public:
  TImage(TForm& owner, TBounds bounds, const char* pictureResource, bool stretch);
  const TBitmap& Picture() const { return picture_; }
  void Paint(HDC dc) override;

 private:
  TBounds bounds_;
  TBitmap picture_;
  bool stretch_;
};

// A transparent label; without auto-size its text is clipped to its bounds.
class TLabel : public TGraphicControl {
 public:
  TLabel(TForm& owner, TBounds bounds, std::string caption, const FontStyle& font, bool autoSize);
  void Paint(HDC dc) override;

 private:
  TBounds bounds_;
  std::string caption_;
  TFont font_;
  bool autoSize_;
};

// A static text with a window of its own: a hand cursor, a click event, and a
// parent that is either its form or, once detached, any foreign window.
class TStaticText : public TObject {
 public:
  TStaticText(TForm& owner, TBounds bounds, std::string caption, const FontStyle& font);
  ~TStaticText() override;

  void SetParentToNone();
  void SetParentWindow(HWND parent);
  HWND ParentWindow() const { return parentWindow_; }
  HWND Handle() const { return handle_; }
  void SetLeft(int left);
  void SetTop(int top);
  void SetFontColor(TColor color);
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  void SetVisible(bool visible);
  void BringToFront();
  TNotifyEvent OnClick;

  // Called by the form once its own window exists.
  void CreateWindowIn(HWND parent);

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  friend TStaticText* BindWindow<TStaticText>(HWND, UINT, LPARAM);
  void DestroyOwnWindow();
  void Paint(HWND wnd);

  TForm* parent_;
  HWND parentWindow_ = nullptr;
  HWND handle_ = nullptr;
  TBounds bounds_;
  std::string caption_;
  TFont font_;
  bool visible_ = true;
};

}  // namespace winsys
