// Linked into the benchmark's copies of the launcher, never into the shipped
// one: notes on the performance counter the moment the start call returns,
// so that the benchmark can tell the platform's wait for the companion from
// the launcher's own work after it. The note goes to the file named by
// KESTRON_BENCH_REPORT, as "started <count>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/ImportHook.h"

namespace {

decltype(&::WinExec) g_winExec;
// Opened before the launcher starts, so that noting costs it one write.
FILE* g_report;

UINT WINAPI StampedWinExec(LPCSTR commandLine, UINT show) {
  const UINT result = g_winExec(commandLine, show);
  const DWORD lastError = GetLastError();  // the launcher reads it right after the call
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (g_report) {
    std::fprintf(g_report, "started %lld\n", static_cast<long long>(now.QuadPart));
    std::fflush(g_report);
  }
  SetLastError(lastError);
  return result;
}

// Made before WinMain runs: from then on the launcher's start call goes
// through StampedWinExec.
struct StampStart {
  ImportHook<decltype(&::WinExec)> hook{"kernel32.dll", "WinExec", StampedWinExec};
  StampStart() {
    g_winExec = hook.Original();
    if (const char* path = std::getenv("KESTRON_BENCH_REPORT")) g_report = std::fopen(path, "a");
  }
} g_stampStart;

}  // namespace
