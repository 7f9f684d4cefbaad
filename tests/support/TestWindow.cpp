#include "tests/support/TestWindow.h"

TestWindow MakeTestWindow(const std::string& title, DWORD style, RECT bounds,
                          const std::string& className) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className.c_str();
  RegisterClassA(&wc);  // fails, harmlessly, once the class exists
  return TestWindow(CreateWindowExA(0, className.c_str(), title.c_str(), style, bounds.left,
                                    bounds.top, bounds.right - bounds.left,
                                    bounds.bottom - bounds.top, nullptr, nullptr, wc.hInstance,
                                    nullptr));
}
