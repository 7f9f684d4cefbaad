#include "winsys/FrameworkWindow.h"

#include <stdexcept>

namespace winsys {

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

HWND CreateMessageWindow(const char* className, WNDPROC proc, void* object) {
  RegisterClassOnce(className, proc, nullptr);
  HWND wnd =
      ::CreateWindowExA(0, className, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Instance(), object);
  if (!wnd) throw std::runtime_error("Error creating window");
  return wnd;
}

void MoveWindowTo(HWND wnd, int x, int y) {
  ::SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace winsys
