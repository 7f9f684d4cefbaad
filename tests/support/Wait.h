// Bounded waits: every wait here ends by itself.
#pragma once

#include <windows.h>

#include <functional>

// Polls the condition, processing this thread's messages in between, until it
// holds or the time is up. Returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// Processes this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);
