// The window-system layer, processes and the start: the process list, how
// the companion is started, and what this program knows of itself.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <optional>
#include <string>

#include "winsys/Handles.h"

namespace winsys {

// The process list. The snapshot functions are looked up by name in the
// kernel library on first use; where any one is missing there is no snapshot.
using ProcessSnapshot = KernelHandle;
ProcessSnapshot CreateToolhelp32Snapshot();
bool Process32First(const ProcessSnapshot& snapshot, PROCESSENTRY32& entry);
bool Process32Next(const ProcessSnapshot& snapshot, PROCESSENTRY32& entry);
// The session (the user's logon: fast user switching, Remote Desktop) a
// process runs in; none where the platform will not say, or lacks the
// function, which is looked up by name like the snapshot functions.
std::optional<DWORD> ProcessIdToSessionId(DWORD pid);

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
// command line given, in the current folder `folder`, the show request
// handed on as its first show, and the application ID given
// (STARTF_TITLEISAPPID; nullptr: none) as the identity the taskbar groups its
// windows under.
StartedProcess CreateProcessA(const char* path, const std::string& commandLine,
                              const ShowRequest& show, const char* folder, const char* appId);
// Whether the platform knows application IDs (Windows 7 and later): its
// shell has the call that sets one, which earlier shells lack.
bool PlatformKnowsAppIds();
// Waits until the process first waits for input, or the time is up.
void WaitForInputIdle(const KernelHandle& process, DWORD timeoutMs);
// Libraries are loaded from the system's folders, not from the program's
// folder, where anybody who may write there could plant one.
void HardenLibrarySearch();
DWORD CurrentProcessId();
// The processor time this process has used so far, user and kernel, in ms.
ULONGLONG OwnProcessorTimeMs();
// Milliseconds since the system started; wraps after 49 days.
DWORD TickCount();

// An event that stays set once set; empty on failure.
KernelHandle CreateEvent();
void SetEvent(const KernelHandle& event);
// Waits until the event is set or the time is up; whether it was set.
bool WaitForEvent(const KernelHandle& event, DWORD timeoutMs);
// The full path of the running executable.
std::string ProgramPath();
// Whether this program runs elevated (with its administrator rights in
// force); none where the platform has no elevation (Windows XP) or will not
// say.
std::optional<bool> IsElevated();

// The one seam for tests: the lookup below is made once and kept, so a test
// that simulates a system without these functions, or answers for them,
// must replace it and have it made again.
namespace seam {
using KernelProcLookup = FARPROC (*)(const char* name);
// Replaces how the snapshot and session functions are looked up (nullptr:
// the kernel library again) and forgets what was looked up before.
void SetKernelProcLookup(KernelProcLookup lookup);
}  // namespace seam

}  // namespace winsys
