#include "winsys/Form.h"

#include <algorithm>
#include <stdexcept>

#include "winsys/Application.h"
#include "winsys/Controls.h"
#include "winsys/Win32Windows.h"

namespace winsys {

TForm::TForm(const Description& description)
    : description_(description), left_(description.bounds.left), top_(description.bounds.top) {}

TForm::~TForm() {
  if (handle_) ::DestroyWindow(handle_);
}

HWND TForm::Handle() {
  if (handle_) return handle_;
  RegisterClassOnce(description_.className, WindowProc, ::LoadCursorA(nullptr, IDC_ARROW));
  ::CreateWindowExA(description_.stayOnTop ? WS_EX_TOPMOST : 0, description_.className,
                    description_.caption, WS_POPUP | WS_CLIPCHILDREN, left_, top_, Width(),
                    Height(), Application.Handle(), nullptr, Instance(), this);
  if (!handle_) throw std::runtime_error("Error creating window");
  for (TStaticText* control : windowed_) control->CreateWindowIn(handle_);
  return handle_;
}

void TForm::Show() { ::ShowWindow(Handle(), SW_SHOWNORMAL); }
void TForm::ShowWithoutActivating() { ::ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

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

void TForm::HideBeforeDestroy() {
  if (handle_)
    ::SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
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
