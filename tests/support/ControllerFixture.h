// A controller form in the test process: with its timers stopped, so that each
// test drives the dispatch, rule sets and overlay itself, beside windows that
// stand for the companion's; or running, beside the real stand-in companion.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/Companion.h"
#include "tests/support/ImportHook.h"
#include "tests/support/Processes.h"
#include "tests/support/TestWindow.h"

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
  std::vector<TestWindow> windows_;
};

// The controller's own timers run whenever the test waits, beside the stand-in
// companion; the controller is created once a companion is up.
class LiveControllerTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // Starts a companion, with these variables beside the window-event reports
  // that Windows raises, and the controller; returns the companion's process id
  // once its main window carries the brand, else 0.
  DWORD StartRelabelled(std::vector<std::pair<std::string, std::string>> env = {});
  static std::unique_ptr<ChildProcess> Companion(
      std::vector<std::pair<std::string, std::string>> env = {});
  static void StopPoll();

  NoCompanionLeft noCompanion_;
  std::unique_ptr<ChildProcess> companion_;
};

// `lines` lines of `width` characters each (line ends included).
std::string Lines(int lines, int width);
