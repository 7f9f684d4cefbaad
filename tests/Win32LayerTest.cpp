#include <windows.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/support/TestWindow.h"
#include "winsys/Win32Windows.h"

namespace {

constexpr RECT kBounds = {0, 0, 50, 50};

TEST(WindowTexts, AreCutToTheirMaximumsCountingTheNul) {
  const TestWindow titled = MakeTestWindow(std::string(300, 't'), WS_POPUP, kBounds);
  ASSERT_TRUE(titled);
  EXPECT_EQ(winsys::GetWindowTextA(titled.get()), std::string(199, 't'));
  winsys::SetWindowTextA(titled.get(), "short");
  EXPECT_EQ(winsys::GetWindowTextA(titled.get()), "short");

  const TestWindow classed = MakeTestWindow("x", WS_POPUP, kBounds, std::string(120, 'C'));
  ASSERT_TRUE(classed);
  EXPECT_EQ(winsys::GetClassNameA(classed.get()), std::string(99, 'C'));
}

TEST(WindowWalks, CarryAFailureOutAfterThePlatformReturns) {
  const TestWindow owner = MakeTestWindow("parent", WS_POPUP, kBounds);
  HWND parent = owner.get();
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
}

}  // namespace
