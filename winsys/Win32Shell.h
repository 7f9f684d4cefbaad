// The window-system layer, shell and system: the shell's open verb, message
// boxes, the system's code page, locale comparison, screen size and pauses.
#pragma once

#include <windows.h>

#include <string_view>

namespace winsys {

// A modal error box with no owner, brought to the front; returns when the
// user has closed it.
void ErrorBox(const char* text, const char* caption);
// The system's ANSI code page (936 where texts are GBK).
UINT AnsiCodePage();
void ShellExecuteA(HWND owner, const char* verb, const char* file);
// Starts the program `file` through the shell with `verb`, in the current
// folder `folder`, shown as `show` asks; returns once the shell has done
// with it (for "runas": once the user has answered the elevation prompt),
// and whether it started. The shell shows no error box of its own.
bool ShellExecuteExA(HWND owner, const char* verb, const char* file, const char* folder,
                     int show);
// COM prepared on the calling thread, as the shell asks of its callers (a
// single-threaded apartment without the old DDE), while it lives.
class ShellComScope {
 public:
  ShellComScope();
  ~ShellComScope();
  ShellComScope(const ShellComScope&) = delete;
  ShellComScope& operator=(const ShellComScope&) = delete;

 private:
  bool initialised_;  // each success, S_FALSE included, is balanced on leaving
};
void Sleep(DWORD milliseconds);
int ScreenWidth();
int ScreenHeight();
// The user locale's case-insensitive comparison of two byte ranges.
bool CompareStringNoCase(std::string_view a, std::string_view b);

}  // namespace winsys
