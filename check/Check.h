// The brand check from start to end: it waits for the companion, watches
// its windows until it ends (or the time is up, or the user stops it), then
// writes the report and says what it found.
#pragma once

#include <windows.h>

// What the program was asked on its command line.
struct CheckOptions {
  DWORD seconds = 0;  // 0: no limit
};

// The exit status: 0 no vendor text was visible, 1 some was, 2 the companion
// never appeared, 3 the report could not be written.
int RunCheck(const CheckOptions& options);

// Exit statuses.
constexpr int kCheckClean = 0;
constexpr int kCheckFoundVendorTexts = 1;
constexpr int kCheckNoCompanion = 2;
constexpr int kCheckFailed = 3;
