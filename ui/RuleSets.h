// Rule sets for the controls of the companion's windows: hide the vendor's
// attributions, rewrite company and product texts, cut long rich text, and
// move the launcher's address label into the About box. The controller's
// Timer3 re-applies the main-window sets to the recorded windows.
#pragma once

#include <windows.h>

#include "winsys/Win32Windows.h"

// Called once for each descendant of a recognised window, at every depth.
// Each returns false only when handed window 0; the context is not used.
bool MainEnChildProc(HWND child, LPARAM context);
bool MainCnChildProc(HWND child, LPARAM context);
bool AboutChildProc(HWND child, LPARAM context);

// Moves the address label into the About box in front when the platform
// refused it there before; does nothing otherwise.
void RetryAddressLabel(HWND inFront);

// Runs a rule set over every descendant of the window. Window 0 is skipped:
// the platform would walk every program's top-level windows instead.
void ApplyRuleSet(HWND wnd, winsys::WalkProc ruleSet);

// The rule set that serves the controls of `root`: the recorded main window
// of either language, or the About box recorded last; nullptr for any other
// window (0 included).
winsys::WalkProc RuleSetForControlsOf(HWND root);
