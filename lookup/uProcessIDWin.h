// Finding the companion: its process by executable name, and the top-level
// window of that process the user is looking at. Nothing is cached: every
// call takes a fresh process snapshot and makes a fresh window walk.
#pragma once

#include <windows.h>

#include <string_view>

// The id of the first running process whose executable file name is exactly
// `name` (case-sensitive, no extension added or removed), or 0.
DWORD GetProcessIdByExeName(std::string_view name);

// The first top-level window, in the platform's walk order, that belongs to
// the process and is visible and enabled; 0 when there is none or pid is 0.
// While the process shows a modal box, that box is the one returned.
HWND FindProcessWindow(DWORD pid);

// The search context of one window walk.
struct TopWindowSearch {
  DWORD pid;
  HWND found;
};

// The walk's callback; context points to a TopWindowSearch.
bool EnumTopWindowProc(HWND wnd, LPARAM context);
