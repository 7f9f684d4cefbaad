// The window-system layer, windows and messages: every operation the
// launcher makes on windows (its own and the companion's), one thin function
// each, with the arguments the launcher passes. Results the launcher ignores
// on purpose are simply returned or dropped here.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

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

// One of this program's icon resources at the size given, its own copy.
IconHandle LoadIconResource(const char* name, SIZE size);
// The sizes the system shows a window's small icon (its caption, its taskbar
// button) and its big one (Alt+Tab) at.
SIZE SmallIconSize();
SIZE BigIconSize();
// WM_SETICON (ICON_SMALL or ICON_BIG), waiting as SendSetTextTimeout does.
// The icon the window had before is its own and is left alone.
void SendSetIconTimeout(HWND wnd, WPARAM which, HICON icon, UINT timeoutMs);

// Messages to edit and rich-edit controls.
void SendSetText(HWND wnd, const char* text);
// WM_SETTEXT that waits at most `timeoutMs` for the window's thread, and not
// at all for one the platform deems hung; a send that gives up is cancelled.
// Nothing else reaches the calling thread meanwhile.
void SendSetTextTimeout(HWND wnd, const char* text, UINT timeoutMs);
// A window's whole text by WM_GETTEXT, at most `maxBytes` of it, each of the
// two sends (its length, then its text) waiting at most `timeoutMs` for the
// window's thread and not at all for one the platform deems hung; none when
// a send gave up.
std::optional<std::string> SendGetTextTimeout(HWND wnd, UINT timeoutMs, size_t maxBytes);
// Whether the window's thread answers a message within the time.
bool AnswersWithin(HWND wnd, UINT timeoutMs);
// Asks the window to paint itself, frame included, into the context
// (PrintWindow, served by the window's own thread, without a time-out).
bool PrintWindow(HWND wnd, HDC dc);
int SendGetLineCount(HWND wnd);
// The first character of a line (zero-based); the length of the line that
// holds a character, without its line break.
int SendLineIndex(HWND wnd, int line);
int SendLineLength(HWND wnd, int character);
void SendSetSel(HWND wnd, int first, int end);
void SendReplaceSelNoUndo(HWND wnd, const char* text);

// A thread's own message loop: runs what is queued to it (window-event
// reports among them), then waits until more comes or the time is up.
void DispatchPendingMessages();
void WaitForMessages(DWORD timeoutMs);

// A drawing context for the window's client area; empty on failure.
WindowDC GetDC(HWND wnd);

}  // namespace winsys
