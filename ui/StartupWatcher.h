// The start-up watcher. The start call waits until the companion first waits
// for input, which can be long after it has shown its main window (start-up
// steps, a device probe, a message box): while it waits, this thread gives
// the main window its brand as soon as the window exists. It does nothing
// else; recording the window, its rule set and the splash wait for the
// start-up after the call.
#pragma once

#include <windows.h>

#include <vector>

#include "winsys/Thread.h"

class TStartupWatcher : public winsys::TThread {
 protected:
  // Follows the creation, show and rename reports of other programs' windows,
  // and walks the top-level windows at a short interval for a platform that
  // reports nothing once a title is set, until asked to stop.
  void Execute() override;

 private:
  void Watch();
  // Retitles `wnd` if it is the companion's main window carrying the
  // companion's own title.
  void RetitleIfCompanionsMainWindow(HWND wnd);
  bool IsCompanion(DWORD pid);

  // Known not to run the companion: this program, the others running when
  // the watch began, and any found with the companion's title since.
  std::vector<DWORD> FOtherProcesses;
  // Windows of those processes: the walk passes over them without asking.
  std::vector<HWND> FOtherWindows;
};
