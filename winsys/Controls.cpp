#include "winsys/Controls.h"

#include <stdexcept>
#include <utility>

#include "winsys/Application.h"

namespace winsys {

namespace {

constexpr char kStaticTextClass[] = "TStaticText";

}  // namespace

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
  ::RestoreDC(dc, -1);  // the state SaveDC kept
}

TLabel::TLabel(TForm& owner, TBounds bounds, std::string caption, const FontStyle& font,
               bool autoSize)
    : bounds_(bounds), caption_(std::move(caption)), font_(font), autoSize_(autoSize) {
  owner.AddGraphic(this);
}

void TLabel::Paint(HDC dc) {
  PaintText(dc, caption_, font_, ToRect(bounds_),
            DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | (autoSize_ ? DT_NOCLIP : 0));
}

// ---- Static text with its own window ----

TStaticText::TStaticText(TForm& owner, TBounds bounds, std::string caption, const FontStyle& font)
    : parent_(&owner), bounds_(bounds), caption_(std::move(caption)), font_(font) {
  RegisterClassOnce(kStaticTextClass, WindowProc, ::LoadCursorA(nullptr, IDC_HAND));
  owner.AddWindowed(this);
}

TStaticText::~TStaticText() {
  DestroyOwnWindow();
  if (parent_) parent_->RemoveWindowed(this);
}

// The parent may be another program's window: parent notification would
// make creating and destroying the label wait until that program answers,
// and a hung one would hang the launcher, also on its way out.
void TStaticText::CreateWindowIn(HWND parent) {
  DestroyOwnWindow();
  if (!visible_) return;
  if (!::CreateWindowExA(WS_EX_NOPARENTNOTIFY, kStaticTextClass, caption_.c_str(),
                         WS_CHILD | WS_VISIBLE, bounds_.left, bounds_.top, bounds_.width,
                         bounds_.height, parent, nullptr, Instance(), this))
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

// A window the platform refused leaves the parent as it was, so that the
// same parent may be asked again.
void TStaticText::SetParentWindow(HWND parent) {
  if (parent_ || parent == parentWindow_) return;
  CreateWindowIn(parent);
  parentWindow_ = parent;
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
  PaintText(paint.dc(), caption_, font_, r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CALLBACK TStaticText::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = BindWindow<TStaticText>(wnd, msg, lp);
  if (!self) return ::DefWindowProcA(wnd, msg, wp, lp);
  switch (msg) {
    case WM_PAINT:
      self->Paint(wnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint fills the background itself
    case WM_LBUTTONUP:
      if (self->OnClick) Application.HandleEvent([self] { self->OnClick(self); });
      return 0;
  }
  return ::DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace winsys
