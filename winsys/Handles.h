// Small owners for the handles the launcher acquires: each releases in its
// destructor what its constructor took, so no early return leaks one. One
// move logic serves every kind; a kind is a handle type and how to release it.
#pragma once

#include <windows.h>

#include <utility>

namespace winsys {

// Move-only owner of a handle. Release is called with the handle when the
// owner lets go of it, and carries whatever else releasing needs (the window
// a window's drawing context goes back to).
template <typename H, typename Release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h, Release release = Release()) : h_(h), release_(release) {}
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, H{})), release_(o.release_) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, H{});
      release_ = o.release_;
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  void Reset() {
    if (h_ != H{}) release_(h_);
    h_ = H{};
  }

 private:
  H h_{};
  Release release_{};
};

struct CloseKernelHandle {
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};
// An icon loaded from a resource at a size of its own, not shared.
struct DestroyIconHandle {
  void operator()(HICON h) const { ::DestroyIcon(h); }
};
struct DeleteMemoryDC {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
// A window's drawing context goes back to the window it came from. Once that
// window is gone the platform has taken the context back already, and may
// have handed it to another window since: it is not released again.
struct ReleaseWindowDC {
  HWND wnd = nullptr;
  void operator()(HDC dc) const {
    if (::IsWindow(wnd)) ::ReleaseDC(wnd, dc);
  }
};

// The whole screen's drawing context.
struct ReleaseScreenDC {
  void operator()(HDC dc) const { ::ReleaseDC(nullptr, dc); }
};

using KernelHandle = Owned<HANDLE, CloseKernelHandle>;
using FontHandle = Owned<HFONT, DeleteGdiObject>;
using BitmapHandle = Owned<HBITMAP, DeleteGdiObject>;
using BrushHandle = Owned<HBRUSH, DeleteGdiObject>;
using IconHandle = Owned<HICON, DestroyIconHandle>;
using MemoryDC = Owned<HDC, DeleteMemoryDC>;
using WindowDC = Owned<HDC, ReleaseWindowDC>;
using ScreenDC = Owned<HDC, ReleaseScreenDC>;

// Selects an object into a context and puts the previous one back on exit.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { ::SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Painting a window between BeginPaint and EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND wnd) : wnd_(wnd), dc_(::BeginPaint(wnd, &ps_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(wnd_, &ps_); }
  HDC dc() const { return dc_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace winsys
