// Title dispatch: which of the companion's windows the user is looking at,
// told by its exact title (past a connection-failure box, the main window
// behind it). A window recognised for the first time is retitled, recorded
// here, and its rule set runs over its controls.
#pragma once

#include <windows.h>

#include <string>

// The companion windows last retitled; 0 until one is seen. A recorded window
// is only ever replaced by a newer one, never cleared.
extern HWND MainCnWnd;
extern HWND MainEnWnd;
extern HWND AboutWnd;  // in either language

// Who relabels. The controller's ticks and passes apply every rule. The
// start-up, right after the companion has started and before the controller
// exists, applies the main windows' alone, and finds the main window behind
// a connection-failure box by either title: the start-up watcher may have
// given it the brand already.
enum class Relabelling { Controller, StartUp };

// Retitles, records and walks a recognised window once per window; a main
// window takes the splash off the screen first and frees it after.
void ApplyTitleRules(HWND wnd, const std::string& title, Relabelling who);

// Reads the title of the window the user is looking at, looks past a
// connection-failure box and applies the title rules, ignoring any failure in
// them. Returns the title the rules were applied to.
std::string RelabelWindow(HWND wnd, Relabelling who);

// The start-up's retitle of the companion's main window (or the one behind
// its connection-failure box): the user sees the vendor's title only until
// then. About boxes, the splash on an empty title and the window-event hooks
// wait for the controller's first pass.
void RetitleCompanionAtStart();

// The brand for a main window that carries the companion's own title
// `title`, or nullptr for any other title.
const char* MainWindowBrandFor(const std::string& title);

// True for a title this launcher gives the companion's windows.
bool IsBrandTitle(const std::string& title);
