// Small owners for the handles the launcher acquires: each releases in its
// destructor what its constructor took, so no early return leaks one.
#pragma once

#include <windows.h>

#include <utility>

namespace winsys {

// Move-only owner of a handle value with a release function.
template <typename H, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, H{});
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  void Reset() {
    if (h_ != H{}) Traits::Release(h_);
    h_ = H{};
  }

 private:
  H h_{};
};

struct KernelHandleTraits {
  static void Release(HANDLE h) { ::CloseHandle(h); }
};
struct GdiObjectTraits {
  static void Release(HGDIOBJ h) { ::DeleteObject(h); }
};
struct MemoryDCTraits {
  static void Release(HDC dc) { ::DeleteDC(dc); }
};

using KernelHandle = Owned<HANDLE, KernelHandleTraits>;
using GdiObject = Owned<HGDIOBJ, GdiObjectTraits>;
using MemoryDC = Owned<HDC, MemoryDCTraits>;

// A drawing context of a window's client area, released to that window.
class WindowDC {
 public:
  WindowDC() = default;
  WindowDC(HWND wnd, HDC dc) : wnd_(wnd), dc_(dc) {}
  WindowDC(WindowDC&& o) noexcept
      : wnd_(std::exchange(o.wnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
  WindowDC& operator=(WindowDC&& o) noexcept {
    if (this != &o) {
      Reset();
      wnd_ = std::exchange(o.wnd_, nullptr);
      dc_ = std::exchange(o.dc_, nullptr);
    }
    return *this;
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() { Reset(); }

  HDC get() const { return dc_; }
  void Reset();

 private:
  HWND wnd_ = nullptr;
  HDC dc_ = nullptr;
};

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

}  // namespace winsys
