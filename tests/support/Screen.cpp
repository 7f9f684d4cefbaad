#include "tests/support/Screen.h"

#include "lookup/uProcessIDWin.h"
#include "tests/support/Wait.h"
#include "winsys/Handles.h"

namespace {
// Gives a context back to its window, also the screen's (window 0), which the
// launcher's owner of window contexts never releases.
struct ReleaseDCOf {
  HWND wnd = nullptr;
  void operator()(HDC dc) const { ReleaseDC(wnd, dc); }
};
}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid) {
  std::vector<HWND> found;
  for (HWND wnd : TopWindows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == pid) found.push_back(wnd);
  }
  return found;
}

HWND TopWindowOfClass(DWORD pid, const std::string& className) {
  for (HWND wnd : TopWindowsOf(pid)) {
    char cls[128] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (className == cls) return wnd;
  }
  return nullptr;
}

std::string WindowText(HWND wnd) {
  const int length = GetWindowTextLengthA(wnd);
  std::string text(length + 1, '\0');
  text.resize(GetWindowTextA(wnd, text.data(), length + 1));
  return text;
}

bool WaitForText(HWND wnd, const std::string& text, DWORD timeoutMs) {
  return WaitUntil([&] { return WindowText(wnd) == text; }, timeoutMs);
}

bool ShowsPicture(HWND wnd, POINT at, const char* resource, int width, int height) {
  const winsys::BitmapHandle bitmap(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  const winsys::Owned<HDC, ReleaseDCOf> shown(GetDC(wnd), {wnd});
  const winsys::MemoryDC picture(CreateCompatibleDC(shown.get()));
  const winsys::SelectedObject selected(picture.get(), bitmap.get());
  bool same = static_cast<bool>(bitmap);
  for (int x = 1; same && x < width; x += 11)
    for (int y = 1; same && y < height; y += 13)
      same =
          (GetPixel(shown.get(), at.x + x, at.y + y) & 0xFFFFFF) == GetPixel(picture.get(), x, y);
  return same;
}

bool OverlayOnScreen(HWND about) {
  POINT origin{0, 0};
  ClientToScreen(about, &origin);
  return ShowsPicture(nullptr, origin, "OVERLAY", 140, 250);
}

ForegroundHistory::ForegroundHistory()
    : thread_([this] {
        HWND last = nullptr;
        while (!stop_) {
          HWND wnd = GetForegroundWindow();
          if (wnd != last) {
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            char cls[128] = {};
            GetClassNameA(wnd, cls, sizeof cls);
            holders_.push_back({wnd, pid, cls});
            last = wnd;
          }
          Sleep(1);
        }
      }) {}

std::vector<ForegroundHistory::Holder> ForegroundHistory::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return holders_;
}
