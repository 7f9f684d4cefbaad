// Title dispatch: which of the companion's windows the controller is looking
// at, told by its exact title. TForm1::ApplyTitleRules (TitleDispatch.cpp)
// retitles each window it recognises once, records it here and runs the
// window's rule set over its controls.
#pragma once

#include <windows.h>

#include <string>

// The companion windows last retitled; 0 until one is seen. A recorded window
// is only ever replaced by a newer one, never cleared.
extern HWND MainCnWnd;
extern HWND MainEnWnd;
extern HWND AboutWnd;  // in either language

// The dispatch's rules for the main windows alone, which need nothing of the
// controller: the companion's start-up retitles its main window before the
// controller exists.
void ApplyMainWindowRules(HWND wnd, const std::string& title);

// The brand for a main window that carries the companion's own title
// `title`, or nullptr for any other title.
const char* MainWindowBrandFor(const std::string& title);

// True for a title this launcher gives the companion's windows.
bool IsBrandTitle(const std::string& title);
