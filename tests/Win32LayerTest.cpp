#include <windows.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "winsys/Win32.h"

namespace {

HWND CreateTestWindow(const char* className, const std::string& title) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, title.c_str(), WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

TEST(WindowTexts, AreCutToTheirMaximumsCountingTheNul) {
  HWND wnd = CreateTestWindow("KestronTestWindow", std::string(300, 't'));
  ASSERT_NE(wnd, nullptr);
  EXPECT_EQ(winsys::GetWindowTextA(wnd), std::string(199, 't'));
  winsys::SetWindowTextA(wnd, "short");
  EXPECT_EQ(winsys::GetWindowTextA(wnd), "short");
  DestroyWindow(wnd);

  const std::string longClass(120, 'C');
  HWND classed = CreateTestWindow(longClass.c_str(), "x");
  ASSERT_NE(classed, nullptr);
  EXPECT_EQ(winsys::GetClassNameA(classed), std::string(99, 'C'));
  DestroyWindow(classed);
}

TEST(WindowWalks, CarryAFailureOutAfterThePlatformReturns) {
  HWND parent = CreateTestWindow("KestronWalkParent", "parent");
  for (int i = 0; i < 3; ++i)
    CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
  static int s_visits;
  s_visits = 0;
  auto failOnFirst = [](HWND, LPARAM) -> bool {
    ++s_visits;
    throw std::runtime_error("walk failed");
  };
  EXPECT_THROW(winsys::EnumChildWindows(parent, failOnFirst, 0), std::runtime_error);
  EXPECT_EQ(s_visits, 1) << "the walk must end at the failure";

  s_visits = 0;
  winsys::EnumChildWindows(
      parent, [](HWND, LPARAM) { return ++s_visits < 100; }, 0);
  EXPECT_EQ(s_visits, 3);
  DestroyWindow(parent);
}

}  // namespace
