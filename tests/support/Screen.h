// What a user would see of other programs' windows.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Top-level windows of a process, in z-order.
std::vector<HWND> TopWindowsOf(DWORD pid);
// The first top-level window of the process with this class name, or 0.
HWND TopWindowOfClass(DWORD pid, const std::string& className);
// The whole text of a window or control, however long.
std::string WindowText(HWND wnd);
// Waits (10 s unless told) until the window's text is `text`.
bool WaitForText(HWND wnd, const std::string& text, DWORD timeoutMs = 10000);
// Whether the window's client area (the screen for window 0) shows this
// program's bitmap resource at its natural size from `at`, judged on a grid
// of points over `width` x `height` of the picture.
bool ShowsPicture(HWND wnd, POINT at, const char* resource, int width, int height);
// Whether the screen shows the launcher's overlay picture at the About box's client origin.
bool OverlayOnScreen(HWND about);

// Which windows held the foreground, the keyboard's window, sampled every
// millisecond on a thread of its own from construction until Stop() (or
// destruction): a program that takes it for 10 ms is seen.
class ForegroundHistory {
 public:
  struct Holder {
    HWND wnd;
    DWORD pid;
    std::string className;
  };
  ForegroundHistory();
  ~ForegroundHistory() { Stop(); }
  ForegroundHistory(const ForegroundHistory&) = delete;
  ForegroundHistory& operator=(const ForegroundHistory&) = delete;
  // Each window that took the foreground, in order.
  std::vector<Holder> Stop();

 private:
  std::atomic<bool> stop_{false};
  std::vector<Holder> holders_;  // written by the thread until it is joined
  std::thread thread_;
};
