// Windows of the test program that stand for other programs' windows.
#pragma once

#include <windows.h>

#include <string>

#include "winsys/Handles.h"

struct DestroyTestWindow {
  void operator()(HWND wnd) const { DestroyWindow(wnd); }
};
// A window of the test program, destroyed with its owner.
using TestWindow = winsys::Owned<HWND, DestroyTestWindow>;

// A top-level window of the tests' own class, or of `className`, registered
// on first use; both fill their background with the button face.
TestWindow MakeTestWindow(const std::string& title, DWORD style, RECT bounds,
                          const std::string& className = "KestronTestBox");
