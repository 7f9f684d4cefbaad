// Finding the companion: its process by executable name, and the top-level
// window of that process the user is looking at. Nothing is cached: every
// call takes a fresh process snapshot and makes a fresh window walk.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The id of the first running process of this program's session whose
// executable file name is exactly `name` (case-sensitive, no extension added
// or removed), or 0.
DWORD GetProcessIdByExeName(std::string_view name);

// The executable file name of process `pid`: empty where there is no such
// process, or the platform does not know the name yet (a process starting).
std::string ExeNameOf(DWORD pid);

// The first top-level window, in the platform's walk order, that belongs to
// the process and is visible and enabled; 0 when there is none or pid is 0.
// While the process shows a modal box, that box is the one returned.
HWND FindProcessWindow(DWORD pid);

// The first top-level window of the process, in the platform's walk order,
// whose title is exactly one of `titles` (nullptr entries are skipped); 0
// when there is none.
HWND FindProcessWindowTitled(DWORD pid, std::initializer_list<const char*> titles);

// A running process: its id, the id of the process that started it, and its
// executable file name.
struct ProcessEntry {
  DWORD pid;
  DWORD parent;
  std::string exeName;
};
std::vector<ProcessEntry> ListProcesses();

// Every top-level window, in the platform's walk order. The walk sends no
// message to any window.
std::vector<HWND> TopWindows();

// The search context of one window walk.
struct TopWindowSearch {
  DWORD pid;
  HWND found;
};

// The walk's callback; context points to a TopWindowSearch.
bool EnumTopWindowProc(HWND wnd, LPARAM context);
