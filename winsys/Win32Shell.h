// The window-system layer, shell and system: the shell's open verb, message
// boxes, the console, files, the system's code page and clock, locale
// comparison, screen size and pauses.
#pragma once

#include <windows.h>

#include <string>
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
// Whether the byte starts a character of two bytes in the system's code page.
bool IsLeadByte(char c);
// A character of one byte in lower case, by the system's code page.
char LowerCaseChar(char c);
// A text of the system's code page as UTF-8.
std::string AnsiToUtf8(std::string_view text);

// Writes a text of the system's code page to standard output or error: to a
// console as its characters, so that any console font and code page show
// them; elsewhere (a file, a pipe) as the bytes stand.
enum class StdStream { Output, Error };
void WriteStd(StdStream stream, std::string_view text);
// Ctrl+C, Ctrl+Break and the console's closing, log-off and shut-down become
// a request to stop. The platform calls the handler on a thread of its own,
// which shares the two events with the rest of the program: it sets `stop`;
// for closing, log-off and shut-down, which end the process as soon as the
// handler returns, it first waits up to `graceMs` for `done`. It then
// returns. Both events must live until the process ends.
void HandleConsoleStop(HANDLE stop, HANDLE done, DWORD graceMs);
// Whether this program has its console to itself (started from Explorer,
// the console goes when it ends) with a keyboard behind its input.
bool OwnsConsoleAlone();
// Reads the console's input up to the next Enter.
void WaitForEnter();

// The local date and time now.
SYSTEMTIME LocalTime();
// The current folder, with its trailing backslash.
std::string CurrentFolder();
// Writes a new file, never replacing one; 0, or the platform's error code
// (ERROR_FILE_EXISTS for a file already there).
DWORD WriteNewFile(const std::string& path, std::string_view bytes);
// The platform's words for an error code, in the system's language.
std::string ErrorText(DWORD code);

}  // namespace winsys
