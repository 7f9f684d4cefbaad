// The window-system layer: every platform operation the launcher's own code
// makes, one thin function each, with the arguments the launcher passes.
// Results the launcher ignores on purpose are simply returned or dropped here.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <string_view>

#include "winsys/Handles.h"

namespace winsys {

// A walk callback: called once per window, returns true to go on. An
// exception thrown by it ends the walk and is rethrown once the platform's
// walk has returned, so it never unwinds through the platform's frames.
using WalkProc = bool (*)(HWND wnd, LPARAM context);

void EnumWindows(WalkProc proc, LPARAM context);
void EnumChildWindows(HWND parent, WalkProc proc, LPARAM context);

DWORD GetWindowThreadProcessId(HWND wnd);
bool IsWindowVisible(HWND wnd);
bool IsWindowEnabled(HWND wnd);
// True for a window whose parent is the desktop (owned pop-ups included).
bool IsTopLevelWindow(HWND wnd);
// The top-level window a control belongs to, at any depth (0 for a window gone).
HWND GetRootWindow(HWND wnd);
// A window's text, at most 199 bytes, up to the first NUL.
std::string GetWindowTextA(HWND wnd);
// A window's class name, at most 99 bytes.
std::string GetClassNameA(HWND wnd);
void SetWindowTextA(HWND wnd, const char* text);
void HideWindow(HWND wnd);
RECT GetWindowRect(HWND wnd);
// Moves the window to the top of its z-order band, keeping size and place,
// without activating it.
void SetWindowPosTop(HWND wnd);

// Messages to edit and rich-edit controls.
void SendSetText(HWND wnd, const char* text);
// WM_SETTEXT that waits at most `timeoutMs` for the window's thread, and not
// at all for one the platform deems hung; a send that gives up is cancelled.
// Nothing else reaches the calling thread meanwhile.
void SendSetTextTimeout(HWND wnd, const char* text, UINT timeoutMs);
int SendGetLineCount(HWND wnd);
int SendGetTextLength(HWND wnd);
void SendSetSel(HWND wnd, int first, int end);
void SendReplaceSelNoUndo(HWND wnd, const char* text);

// A thread's own message loop: runs what is queued to it (window-event
// reports among them), then waits until more comes or the time is up.
void DispatchPendingMessages();
void WaitForMessages(DWORD timeoutMs);

// A drawing context for the window's client area; empty on failure.
WindowDC GetDC(HWND wnd);

// The process list. The snapshot functions are looked up by name in the
// kernel library on first use; where any one is missing there is no snapshot.
using ProcessSnapshot = KernelHandle;
ProcessSnapshot CreateToolhelp32Snapshot();
bool Process32First(const ProcessSnapshot& snapshot, PROCESSENTRY32& entry);
bool Process32Next(const ProcessSnapshot& snapshot, PROCESSENTRY32& entry);

// The show request this program was started with (its shortcut: normal,
// maximised, minimised), as its start-up information carries it.
struct ShowRequest {
  bool given;  // STARTF_USESHOWWINDOW: without it a program shows as it likes
  WORD show;   // SW_SHOWNORMAL, SW_SHOWMAXIMIZED...
};
ShowRequest OwnShowRequest();

// A started program: its process, or none with the platform's last error,
// taken right after the call, which names why it did not start.
struct StartedProcess {
  KernelHandle process;
  DWORD lastError;
};
// Starts exactly the file `path` (no extension added, no search), with the
// command line given, the show request handed on as its first show.
StartedProcess CreateProcessA(const char* path, const std::string& commandLine,
                              const ShowRequest& show);
// Waits until the process first waits for input, or the time is up.
void WaitForInputIdle(const KernelHandle& process, DWORD timeoutMs);
// Libraries are loaded from the system's folders, not from the program's
// folder, where anybody who may write there could plant one.
void HardenLibrarySearch();
// A modal error box with no owner, brought to the front; returns when the
// user has closed it.
void ErrorBox(const char* text, const char* caption);
// The system's ANSI code page (936 where texts are GBK).
UINT AnsiCodePage();
void ShellExecuteA(HWND owner, const char* verb, const char* file);
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
DWORD CurrentProcessId();
// The full path of the running executable.
std::string ProgramPath();

// The one seam for tests: the lookup below is made once and kept, so a test
// that simulates a system without these functions must replace it and have
// it made again.
namespace seam {
using KernelProcLookup = FARPROC (*)(const char* name);
// Replaces how the snapshot functions are looked up (nullptr: the kernel
// library again) and forgets what was looked up before.
void SetKernelProcLookup(KernelProcLookup lookup);
}  // namespace seam

}  // namespace winsys
