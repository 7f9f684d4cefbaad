#include "winsys/Win32.h"

#include <objbase.h>
#include <shellapi.h>

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

// The tool-help functions, looked up once.
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
struct Toolhelp {
  bool lookedUp = false;
  CreateSnapshotFn create = nullptr;
  ProcessWalkFn first = nullptr;
  ProcessWalkFn next = nullptr;
};
Toolhelp g_toolhelp;

FARPROC KernelProc(const char* name) {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  return kernel ? ::GetProcAddress(kernel, name) : nullptr;
}
seam::KernelProcLookup g_lookup = KernelProc;

template <typename Fn>
Fn LookUp(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(g_lookup(name)));
}

const Toolhelp& Tools() {
  if (!g_toolhelp.lookedUp) {
    g_toolhelp.create = LookUp<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    g_toolhelp.first = LookUp<ProcessWalkFn>("Process32First");
    g_toolhelp.next = LookUp<ProcessWalkFn>("Process32Next");
    g_toolhelp.lookedUp = true;
  }
  return g_toolhelp;
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

int SendGetLineCount(HWND wnd) {
  return static_cast<int>(::SendMessageA(wnd, EM_GETLINECOUNT, 0, 0));
}

int SendGetTextLength(HWND wnd) {
  return static_cast<int>(::SendMessageA(wnd, WM_GETTEXTLENGTH, 0, 0));
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

// Where any of the three functions is missing there is no snapshot, so no
// entry of one is ever read without the means to read the next.
ProcessSnapshot CreateToolhelp32Snapshot() {
  if (!Tools().create || !Tools().first || !Tools().next) return ProcessSnapshot();
  HANDLE h = Tools().create(TH32CS_SNAPPROCESS, 0);
  return h == INVALID_HANDLE_VALUE ? ProcessSnapshot() : ProcessSnapshot(h);
}

static_assert(sizeof(PROCESSENTRY32) == (sizeof(void*) == 4 ? 296 : 304),
              "the process entry: 296 bytes in a 32-bit build, 304 in a 64-bit one");

bool Process32First(const ProcessSnapshot& snapshot, PROCESSENTRY32& entry) {
  return snapshot && Tools().first(snapshot.get(), &entry);
}

bool Process32Next(const ProcessSnapshot& snapshot, PROCESSENTRY32& entry) {
  return snapshot && Tools().next(snapshot.get(), &entry);
}

ShowRequest OwnShowRequest() {
  STARTUPINFOA own{};
  own.cb = sizeof own;
  ::GetStartupInfoA(&own);
  return {(own.dwFlags & STARTF_USESHOWWINDOW) != 0, own.wShowWindow};
}

StartedProcess CreateProcessA(const char* path, const std::string& commandLine,
                              const ShowRequest& show) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = show.given ? STARTF_USESHOWWINDOW : 0;
  startup.wShowWindow = show.show;
  PROCESS_INFORMATION started{};
  std::string line = commandLine;  // the platform may write into it
  ::SetLastError(ERROR_SUCCESS);   // a failure that sets none must not show an older one
  if (!::CreateProcessA(path, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
    return {KernelHandle(), ::GetLastError()};
  const KernelHandle thread(started.hThread);  // only the process is waited for
  return {KernelHandle(started.hProcess), ERROR_SUCCESS};
}

void WaitForInputIdle(const KernelHandle& process, DWORD timeoutMs) {
  ::WaitForInputIdle(process.get(), timeoutMs);
}

void HardenLibrarySearch() {
  ::SetDllDirectoryA("");  // takes the current folder out of the search
  // Where the kernel has it (Windows 8, or 7 with its update), the program's
  // own folder goes too; Windows XP lacks it and searches as before.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
          reinterpret_cast<void*>(KernelProc("SetDefaultDllDirectories"))))
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void ErrorBox(const char* text, const char* caption) {
  ::MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

UINT AnsiCodePage() { return ::GetACP(); }

void ShellExecuteA(HWND owner, const char* verb, const char* file) {
  ::ShellExecuteA(owner, verb, file, nullptr, nullptr, SW_SHOWNORMAL);
}

ShellComScope::ShellComScope()
    : initialised_(
          SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
}

ShellComScope::~ShellComScope() {
  if (initialised_) ::CoUninitialize();
}

void Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }
int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

bool CompareStringNoCase(std::string_view a, std::string_view b) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

DWORD CurrentProcessId() { return ::GetCurrentProcessId(); }

std::string ProgramPath() {
  char buffer[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return buffer;  // up to the first NUL
}

namespace seam {
void SetKernelProcLookup(KernelProcLookup lookup) {
  g_lookup = lookup ? lookup : KernelProc;
  g_toolhelp = Toolhelp{};
}
}  // namespace seam

}  // namespace winsys
