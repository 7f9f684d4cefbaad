#include "winsys/Forms.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <set>
#include <stdexcept>

#include "winsys/Win32.h"

namespace winsys {

TApplication Application;

namespace {

constexpr char kApplicationClass[] = "TApplication";
constexpr char kStaticTextClass[] = "TStaticText";
constexpr char kTimerClass[] = "TTimerWindow";

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

void RegisterClassOnce(const char* name, WNDPROC proc, HCURSOR cursor) {
  WNDCLASSA existing{};
  if (::GetClassInfoA(Instance(), name, &existing)) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hCursor = cursor;
  wc.hIcon = ::LoadIconA(Instance(), "MAINICON");
  wc.lpszClassName = name;
  ::RegisterClassA(&wc);
}

}  // namespace

// Ties a window to the object passed to CreateWindowEx, so that its window
// procedure finds the object, and keeps the object's handle in step: set on
// creation, cleared when the window goes (also when a parent destroys it).
template <typename T>
T* BindWindow(HWND wnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->handle_ = wnd;
    return self;
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (self && msg == WM_NCDESTROY) {
    self->handle_ = nullptr;
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  }
  return self;
}

namespace {

void FillBackground(HDC dc, HWND wnd, TColor color) {
  RECT r;
  ::GetClientRect(wnd, &r);
  GdiObject brush(::CreateSolidBrush(ColorToRGB(color)));
  ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void DrawText(HDC dc, const std::string& text, const TFont& font, RECT r, UINT format) {
  SelectedObject selected(dc, font.Handle());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ColorToRGB(font.Color()));
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// Moves a window within its parent, keeping its size and z-order.
void MoveWindowTo(HWND wnd, int x, int y) {
  ::SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ToRect(const TBounds& b) { return {b.left, b.top, b.left + b.width, b.top + b.height}; }

// Painting between BeginPaint and EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND wnd) : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(wnd_, &ps_); }
  HDC dc() const { return dc_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace

// ---- Application ----

void TApplication::Initialize() {
  RegisterClassOnce(kApplicationClass, WindowProc, ::LoadCursorA(nullptr, IDC_ARROW));
  ::CreateWindowExA(0, kApplicationClass, Title().c_str(),
                    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                    ScreenWidth() / 2, ScreenHeight() / 2, 0, 0, nullptr, nullptr, Instance(),
                    this);
}

// Forms are owned by this window: a handle kept after it was destroyed would
// make every later form's creation fail.
LRESULT CALLBACK TApplication::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  BindWindow<TApplication>(wnd, msg, lp);
  return ::DefWindowProcA(wnd, msg, wp, lp);
}

std::string TApplication::Title() const {
  std::string name = ProgramPath();
  name = name.substr(name.find_last_of("\\/") + 1);
  name = name.substr(0, name.find_last_of('.'));
  for (size_t i = 1; i < name.size(); ++i)
    name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
  return name;
}

void TApplication::Run() {
  if (handle_) ::ShowWindow(handle_, SW_SHOWNORMAL);
  if (mainForm_) mainForm_->Show();
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void TApplication::DestroyForms() {
  while (!forms_.empty()) forms_.pop_back();
  mainForm_ = nullptr;
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

void TApplication::HandleEvent(const std::function<void()>& handler) {
  std::string error;
  try {
    handler();
    return;
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "Unknown error";
  }
  ::MessageBoxA(handle_, error.c_str(), Title().c_str(), MB_OK | MB_ICONERROR);
}

// ---- Painted controls ----

TImage::TImage(TForm& owner, TBounds bounds, const char* pictureResource, bool stretch)
    : bounds_(bounds), picture_(pictureResource), stretch_(stretch) {
  owner.AddGraphic(this);
}

void TImage::Paint(HDC dc) {
  if (stretch_) {
    picture_.StretchDraw(dc, ToRect(bounds_));
    return;
  }
  RECT clip = ToRect(bounds_);
  ::SaveDC(dc);
  ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  picture_.Draw(dc, bounds_.left, bounds_.top);
  ::RestoreDC(dc, -1);
}

TLabel::TLabel(TForm& owner, TBounds bounds, std::string caption, const FontStyle& font,
               bool autoSize)
    : bounds_(bounds), caption_(std::move(caption)), font_(font), autoSize_(autoSize) {
  owner.AddGraphic(this);
}

void TLabel::Paint(HDC dc) {
  DrawText(dc, caption_, font_, ToRect(bounds_),
           DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | (autoSize_ ? DT_NOCLIP : 0));
}

// ---- Static text with its own window ----

TStaticText::TStaticText(TForm& owner, TBounds bounds, std::string caption,
                         const FontStyle& font)
    : parent_(&owner), bounds_(bounds), caption_(std::move(caption)), font_(font) {
  RegisterClassOnce(kStaticTextClass, WindowProc, ::LoadCursorA(nullptr, IDC_HAND));
  owner.AddWindowed(this);
}

TStaticText::~TStaticText() {
  DestroyOwnWindow();
  if (parent_) parent_->RemoveWindowed(this);
}

void TStaticText::CreateWindowIn(HWND parent) {
  DestroyOwnWindow();
  if (!visible_) return;
  if (!::CreateWindowExA(0, kStaticTextClass, caption_.c_str(), WS_CHILD | WS_VISIBLE,
                         bounds_.left, bounds_.top, bounds_.width, bounds_.height, parent, nullptr,
                         Instance(), this))
    throw std::runtime_error("Error creating window");
}

void TStaticText::DestroyOwnWindow() {
  if (handle_) ::DestroyWindow(handle_);  // WM_NCDESTROY clears handle_
}

void TStaticText::SetParentToNone() {
  if (!parent_) return;
  parent_->RemoveWindowed(this);
  parent_ = nullptr;
  DestroyOwnWindow();
}

void TStaticText::SetParentWindow(HWND parent) {
  if (parent_ || parent == parentWindow_) return;
  parentWindow_ = parent;
  CreateWindowIn(parent);
}

void TStaticText::SetLeft(int left) {
  bounds_.left = left;
  if (handle_) MoveWindowTo(handle_, bounds_.left, bounds_.top);
}

void TStaticText::SetTop(int top) {
  bounds_.top = top;
  if (handle_) MoveWindowTo(handle_, bounds_.left, bounds_.top);
}

void TStaticText::SetFontColor(TColor color) {
  font_.SetColor(color);
  if (handle_) ::InvalidateRect(handle_, nullptr, TRUE);
}

void TStaticText::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (handle_) ::SetWindowTextA(handle_, caption_.c_str());
}

void TStaticText::SetVisible(bool visible) {
  visible_ = visible;
  if (handle_) ::ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TStaticText::BringToFront() {
  if (handle_)
    ::SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TStaticText::Paint(HWND wnd) {
  PaintScope paint(wnd);
  FillBackground(paint.dc(), wnd, clBtnFace);
  RECT r;
  ::GetClientRect(wnd, &r);
  DrawText(paint.dc(), caption_, font_, r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CALLBACK TStaticText::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = BindWindow<TStaticText>(wnd, msg, lp);
  if (!self) return ::DefWindowProcA(wnd, msg, wp, lp);
  switch (msg) {
    case WM_PAINT:
      self->Paint(wnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONUP:
      if (self->OnClick) Application.HandleEvent([self] { self->OnClick(self); });
      return 0;
  }
  return ::DefWindowProcA(wnd, msg, wp, lp);
}

// ---- Timer ----

namespace {

// One hidden message-only window receives every timer's WM_TIMER.
HWND TimerWindow(WNDPROC proc) {
  static HWND wnd = nullptr;
  if (!wnd) {
    RegisterClassOnce(kTimerClass, proc, nullptr);
    wnd = ::CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            Instance(), nullptr);
  }
  return wnd;
}

UINT_PTR TimerId(const TTimer* timer) { return reinterpret_cast<UINT_PTR>(timer); }

// Timers that are alive, so a late WM_TIMER of a destroyed one is dropped.
std::set<const TTimer*>& LiveTimers() {
  static std::set<const TTimer*> timers;
  return timers;
}

}  // namespace

TTimer::TTimer(UINT intervalMs, bool enabled, TNotifyEvent onTimer)
    : interval_(intervalMs), onTimer_(std::move(onTimer)) {
  LiveTimers().insert(this);
  SetEnabled(enabled);
}

TTimer::~TTimer() {
  SetEnabled(false);
  LiveTimers().erase(this);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled)
    ::SetTimer(TimerWindow(WindowProc), TimerId(this), interval_, nullptr);
  else
    ::KillTimer(TimerWindow(WindowProc), TimerId(this));
}

LRESULT CALLBACK TTimer::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_TIMER) return ::DefWindowProcA(wnd, msg, wp, lp);
  auto* timer = reinterpret_cast<TTimer*>(wp);
  if (LiveTimers().count(timer) && timer->enabled_ && timer->onTimer_)
    Application.HandleEvent([timer] { timer->onTimer_(timer); });
  return 0;
}

// ---- Form ----

TForm::TForm(const Description& description)
    : description_(description), left_(description.bounds.left), top_(description.bounds.top) {}

TForm::~TForm() {
  if (handle_) ::DestroyWindow(handle_);
}

HWND TForm::Handle() {
  if (handle_) return handle_;
  RegisterClassOnce(description_.className, WindowProc, ::LoadCursorA(nullptr, IDC_ARROW));
  ::CreateWindowExA(description_.stayOnTop ? WS_EX_TOPMOST : 0, description_.className,
                    description_.caption, WS_POPUP | WS_CLIPCHILDREN, left_, top_,
                    Width(), Height(), Application.Handle(), nullptr, Instance(), this);
  if (!handle_) throw std::runtime_error("Error creating window");
  for (TStaticText* control : windowed_) control->CreateWindowIn(handle_);
  return handle_;
}

void TForm::Show() { ::ShowWindow(Handle(), SW_SHOWNORMAL); }

void TForm::Repaint() {
  ::InvalidateRect(Handle(), nullptr, TRUE);
  ::UpdateWindow(Handle());
}

void TForm::SetVisible(bool visible) {
  if (visible)
    Show();
  else if (handle_ && ::IsWindowVisible(handle_))
    ::ShowWindow(handle_, SW_HIDE);
}

// Setting a form's place to where it already is makes no window-system call.
void TForm::SetLeft(int left) {
  if (left == left_) return;
  left_ = left;
  if (handle_) MoveWindowTo(handle_, left_, top_);
}

void TForm::SetTop(int top) {
  if (top == top_) return;
  top_ = top;
  if (handle_) MoveWindowTo(handle_, left_, top_);
}

void TForm::CanvasDraw(int x, int y, const TBitmap& bitmap) {
  WindowDC dc = winsys::GetDC(Handle());
  TCanvas canvas;
  canvas.SetHandle(dc.get());
  canvas.Draw(x, y, bitmap);
}

void TForm::Close() {
  if (Application.MainForm() == this) Application.Terminate();
}

void TForm::RemoveWindowed(TStaticText* control) {
  windowed_.erase(std::remove(windowed_.begin(), windowed_.end(), control), windowed_.end());
}

void TForm::Paint(HWND wnd) {
  PaintScope paint(wnd);
  for (TGraphicControl* control : graphics_) control->Paint(paint.dc());
}

LRESULT CALLBACK TForm::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = BindWindow<TForm>(wnd, msg, lp);
  if (!self) return ::DefWindowProcA(wnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND:
      FillBackground(reinterpret_cast<HDC>(wp), wnd, self->description_.color);
      return 1;
    case WM_PAINT:
      self->Paint(wnd);
      return 0;
    case WM_CLOSE:
      self->Close();
      return 0;
  }
  return ::DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace winsys
