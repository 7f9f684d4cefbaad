// Linked into the benchmark's copies of the launcher, never into the shipped
// one: notes on the performance counter the moment the start's wait for the
// companion is over, so that the benchmark can tell the platform's wait from
// the launcher's own work after it. The note goes to the file named by
// KESTRON_BENCH_REPORT, as "started <count>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/ImportHook.h"

namespace {

decltype(&::WaitForInputIdle) g_waitForInputIdle;
// Opened before the launcher starts, so that noting costs it one write.
FILE* g_report;

DWORD WINAPI StampedWaitForInputIdle(HANDLE process, DWORD timeoutMs) {
  const DWORD result = g_waitForInputIdle(process, timeoutMs);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (g_report) {
    std::fprintf(g_report, "started %lld\n", static_cast<long long>(now.QuadPart));
    std::fflush(g_report);
  }
  return result;
}

// Made before WinMain runs: from then on the launcher's wait goes through
// StampedWaitForInputIdle.
struct StampStart {
  ImportHook<decltype(&::WaitForInputIdle)> hook{"user32.dll", "WaitForInputIdle",
                                                 StampedWaitForInputIdle};
  StampStart() {
    g_waitForInputIdle = hook.Original();
    if (const char* path = std::getenv("KESTRON_BENCH_REPORT")) g_report = std::fopen(path, "a");
  }
} g_stampStart;

}  // namespace
