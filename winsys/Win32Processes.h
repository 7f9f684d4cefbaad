// The window-system layer, processes and the start: the process list, how
// the companion is started, and what this program knows of itself.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "winsys/Handles.h"

namespace winsys {

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
