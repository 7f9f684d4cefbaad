#include "winsys/Win32Processes.h"

namespace winsys {

namespace {

// The kernel functions looked up once: the tool-help functions, and the
// session look-up, whose page gives Windows Vista as its first version.
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using SessionOfFn = BOOL(WINAPI*)(DWORD, DWORD*);
struct Toolhelp {
  bool lookedUp = false;
  CreateSnapshotFn create = nullptr;
  ProcessWalkFn first = nullptr;
  ProcessWalkFn next = nullptr;
  SessionOfFn sessionOf = nullptr;
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
    g_toolhelp.sessionOf = LookUp<SessionOfFn>("ProcessIdToSessionId");
    g_toolhelp.lookedUp = true;
  }
  return g_toolhelp;
}

}  // namespace

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

std::optional<DWORD> ProcessIdToSessionId(DWORD pid) {
  DWORD session = 0;
  if (!Tools().sessionOf || !Tools().sessionOf(pid, &session)) return std::nullopt;
  return session;
}

ShowRequest OwnShowRequest() {
  STARTUPINFOA own{};
  own.cb = sizeof own;
  ::GetStartupInfoA(&own);
  return {(own.dwFlags & STARTF_USESHOWWINDOW) != 0, own.wShowWindow};
}

StartedProcess CreateProcessA(const char* path, const std::string& commandLine,
                              const ShowRequest& show, const char* folder, const char* appId) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = show.given ? STARTF_USESHOWWINDOW : 0;
  startup.wShowWindow = show.show;
  std::string title = appId ? appId : "";  // the platform's field is not const
  if (appId) {
    startup.dwFlags |= STARTF_TITLEISAPPID;
    startup.lpTitle = title.data();
  }
  PROCESS_INFORMATION started{};
  std::string line = commandLine;  // the platform may write into it
  ::SetLastError(ERROR_SUCCESS);   // a failure that sets none must not show an older one
  if (!::CreateProcessA(path, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
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

bool PlatformKnowsAppIds() {
  HMODULE shell = ::GetModuleHandleA("shell32.dll");  // loaded: this program imports from it
  return shell && ::GetProcAddress(shell, "SetCurrentProcessExplicitAppUserModelID");
}

DWORD CurrentProcessId() { return ::GetCurrentProcessId(); }

ULONGLONG OwnProcessorTimeMs() {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return (ticks(kernel) + ticks(user)) / 10000;  // 100 ns units
}

DWORD TickCount() { return ::GetTickCount(); }

KernelHandle CreateEvent() { return KernelHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr)); }
void SetEvent(const KernelHandle& event) { ::SetEvent(event.get()); }

bool WaitForEvent(const KernelHandle& event, DWORD timeoutMs) {
  return ::WaitForSingleObject(event.get(), timeoutMs) == WAIT_OBJECT_0;
}

std::string ProgramPath() {
  char buffer[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return buffer;  // up to the first NUL
}

std::optional<bool> IsElevated() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
  const KernelHandle owned(token);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  // Windows XP knows no such information: the call fails there.
  if (!::GetTokenInformation(owned.get(), TokenElevation, &elevation, sizeof elevation, &size))
    return std::nullopt;
  return elevation.TokenIsElevated != 0;
}

namespace seam {
void SetKernelProcLookup(KernelProcLookup lookup) {
  g_lookup = lookup ? lookup : KernelProc;
  g_toolhelp = Toolhelp{};
}
}  // namespace seam

}  // namespace winsys
