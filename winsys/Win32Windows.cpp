#include "winsys/Win32Windows.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace winsys {

namespace {

constexpr int kTextBufferSize = 256;
constexpr int kMaxWindowText = 200;
constexpr int kMaxClassName = 100;

// Carries a walk callback and any exception it threw across the platform call.
struct Walk {
  WalkProc proc;
  LPARAM context;
  std::exception_ptr failure;
};

BOOL CALLBACK WalkTrampoline(HWND wnd, LPARAM param) {
  auto* walk = reinterpret_cast<Walk*>(param);
  try {
    return walk->proc(wnd, walk->context) ? TRUE : FALSE;
  } catch (...) {
    walk->failure = std::current_exception();
    return FALSE;
  }
}

void RethrowFailure(const Walk& walk) {
  if (walk.failure) std::rethrow_exception(walk.failure);
}

}  // namespace

void EnumWindows(WalkProc proc, LPARAM context) {
  Walk walk{proc, context, nullptr};
  ::EnumWindows(WalkTrampoline, reinterpret_cast<LPARAM>(&walk));
  RethrowFailure(walk);
}

void EnumChildWindows(HWND parent, WalkProc proc, LPARAM context) {
  Walk walk{proc, context, nullptr};
  ::EnumChildWindows(parent, WalkTrampoline, reinterpret_cast<LPARAM>(&walk));
  RethrowFailure(walk);
}

DWORD GetWindowThreadProcessId(HWND wnd) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  return pid;
}

bool IsWindowVisible(HWND wnd) { return ::IsWindowVisible(wnd) != FALSE; }
bool IsWindowEnabled(HWND wnd) { return ::IsWindowEnabled(wnd) != FALSE; }
bool IsTopLevelWindow(HWND wnd) { return ::GetAncestor(wnd, GA_PARENT) == ::GetDesktopWindow(); }
HWND GetRootWindow(HWND wnd) { return ::GetAncestor(wnd, GA_ROOT); }

std::string GetWindowTextA(HWND wnd) {
  char buffer[kTextBufferSize] = {};
  ::GetWindowTextA(wnd, buffer, kMaxWindowText);
  return buffer;  // up to the first NUL
}

std::string GetClassNameA(HWND wnd) {
  char buffer[kTextBufferSize] = {};
  ::GetClassNameA(wnd, buffer, kMaxClassName);
  return buffer;  // up to the first NUL
}

void SetWindowTextA(HWND wnd, const char* text) { ::SetWindowTextA(wnd, text); }
void HideWindow(HWND wnd) { ::ShowWindow(wnd, SW_HIDE); }

RECT GetWindowRect(HWND wnd) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  return r;
}

void SetWindowPosTop(HWND wnd) {
  ::SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void SendSetText(HWND wnd, const char* text) {
  ::SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void SendSetTextTimeout(HWND wnd, const char* text, UINT timeoutMs) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                        SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &result);
}

IconHandle LoadIconResource(const char* name, SIZE size) {
  return IconHandle(static_cast<HICON>(
      ::LoadImageA(::GetModuleHandleA(nullptr), name, IMAGE_ICON, size.cx, size.cy, 0)));
}

SIZE SmallIconSize() { return {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)}; }

SIZE BigIconSize() { return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)}; }

void SendSetIconTimeout(HWND wnd, WPARAM which, HICON icon, UINT timeoutMs) {
  DWORD_PTR previous = 0;
  ::SendMessageTimeoutA(wnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon),
                        SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &previous);
}

std::optional<std::string> SendGetTextTimeout(HWND wnd, UINT timeoutMs, size_t maxBytes) {
  constexpr UINT kFlags = SMTO_BLOCK | SMTO_ABORTIFHUNG;
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutA(wnd, WM_GETTEXTLENGTH, 0, 0, kFlags, timeoutMs, &length))
    return std::nullopt;
  // The length may count more than the text gives (the platform's promise
  // for a text converted between code pages), never less.
  std::string text(std::min<size_t>(length, maxBytes) + 1, '\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             kFlags, timeoutMs, &copied))
    return std::nullopt;
  text.resize(std::min<size_t>(copied, text.size() - 1));
  text.resize(strnlen(text.c_str(), text.size()));  // up to the first NUL
  return text;
}

bool AnswersWithin(HWND wnd, UINT timeoutMs) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs,
                               &result) != 0;
}

bool PrintWindow(HWND wnd, HDC dc) {
  const bool printed = ::PrintWindow(wnd, dc, 0) != FALSE;
  ::GdiFlush();  // the picture is read from memory next
  return printed;
}

int SendGetLineCount(HWND wnd) {
  return static_cast<int>(::SendMessageA(wnd, EM_GETLINECOUNT, 0, 0));
}

int SendLineIndex(HWND wnd, int line) {
  return static_cast<int>(::SendMessageA(wnd, EM_LINEINDEX, line, 0));
}

int SendLineLength(HWND wnd, int character) {
  return static_cast<int>(::SendMessageA(wnd, EM_LINELENGTH, character, 0));
}

void SendSetSel(HWND wnd, int first, int end) { ::SendMessageA(wnd, EM_SETSEL, first, end); }

void SendReplaceSelNoUndo(HWND wnd, const char* text) {
  ::SendMessageA(wnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

void DispatchPendingMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

void WaitForMessages(DWORD timeoutMs) {
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
}

WindowDC GetDC(HWND wnd) { return WindowDC(::GetDC(wnd), ReleaseWindowDC{wnd}); }

}  // namespace winsys
