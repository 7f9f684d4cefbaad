// The small GUI framework the launcher's forms are built on: an application
// object with its event loop, forms built from descriptions, pictures and
// labels painted on a form, a static text with its own window, and timers.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "winsys/Graphics.h"

namespace winsys {

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

struct TBounds {
  int left, top, width, height;
};

class TForm;
class TApplication;

template <typename T>
T* BindWindow(HWND wnd, UINT msg, LPARAM lp);

class TApplication {
 public:
  // Creates the application's own top-level window, which owns every form
  // window and, while visible, carries the taskbar button.
  void Initialize();
  // Creates a form, stores it in ref and keeps it; the first is the main form.
  template <typename F>
  void CreateForm(F*& ref) {
    auto form = std::make_unique<F>();
    ref = form.get();
    if (!mainForm_) mainForm_ = ref;
    forms_.push_back(std::move(form));
  }
  // Shows the main form normally and dispatches messages until a quit.
  void Run();
  // Destroys the forms created with CreateForm, newest first.
  void DestroyForms();
  void Terminate();
  HWND Handle() const { return handle_; }
  TForm* MainForm() const { return mainForm_; }
  // The executable's name without folder and extension, lower case after the first letter.
  std::string Title() const;

  // Runs an event handler; an error leaving it is shown in a message box and
  // the loop goes on.
  void HandleEvent(const std::function<void()>& handler);

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  friend TApplication* BindWindow<TApplication>(HWND, UINT, LPARAM);

  HWND handle_ = nullptr;  // 0 again once the window is destroyed
  TForm* mainForm_ = nullptr;
  std::vector<std::unique_ptr<TForm>> forms_;
};

extern TApplication Application;

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
  bool HasParentForm() const { return parent_ != nullptr; }
  HWND Handle() const { return handle_; }
  void SetLeft(int left);
  void SetTop(int top);
  TBounds Bounds() const { return bounds_; }
  void SetFontColor(TColor color);
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
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

// A timer whose events run on the main thread through the event loop.
class TTimer : public TObject {
 public:
  TTimer(UINT intervalMs, bool enabled, TNotifyEvent onTimer);
  ~TTimer() override;
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  UINT interval_;
  bool enabled_ = false;
  TNotifyEvent onTimer_;
};

// A form: borderless pop-up window, made on first request of its handle.
class TForm : public TObject {
 public:
  struct Description {
    const char* className;
    const char* caption;
    TBounds bounds;  // design position and client size
    TColor color;
    FontStyle font;
    bool stayOnTop;
  };

  explicit TForm(const Description& description);
  ~TForm() override;

  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void Show();
  void Repaint();
  void SetVisible(bool visible);
  void SetLeft(int left);
  void SetTop(int top);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return description_.bounds.width; }
  int Height() const { return description_.bounds.height; }
  // Draws a bitmap at its natural size on the form's client area.
  void CanvasDraw(int x, int y, const TBitmap& bitmap);
  // For the main form: asks the event loop to quit; hides and frees nothing.
  void Close();

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
