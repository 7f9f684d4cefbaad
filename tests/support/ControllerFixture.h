// A controller form in the test process, with its timers stopped so that each
// test drives the dispatch, rule sets and overlay itself, and windows that
// stand for the companion's.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ImportHook.h"

class ControllerTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // A visible top-level window with this title, destroyed after the test.
  HWND TopWindow(const std::string& title, int x = 120, int y = 100);
  HWND Static(HWND parent, const std::string& text, int x, int y, int w = 260);
  HWND RichEdit(HWND parent, const char* className, const std::string& text);

  // Parents for which a child-window walk was requested.
  static std::vector<HWND> walks;

 private:
  static BOOL WINAPI RecordWalk(HWND parent, WNDENUMPROC proc, LPARAM context);
  static decltype(&::EnumChildWindows) enumChildWindows_;
  ImportHook<decltype(&::EnumChildWindows)> walkHook_{"user32.dll", "EnumChildWindows", RecordWalk};
  std::vector<HWND> windows_;
};

// `lines` lines of `width` characters each (line ends included).
std::string Lines(int lines, int width);
std::string ControlText(HWND wnd);
