// Window events of another process, delivered out of context: the platform
// queues them to this thread and calls back while it waits for messages.
#pragma once

#include <windows.h>

#include <functional>

#include "winsys/Handles.h"

namespace winsys {

struct UnhookWinEventRelease {
  void operator()(HWINEVENTHOOK hook) const;
};
using WinEventHook = Owned<HWINEVENTHOOK, UnhookWinEventRelease>;

// One event: what happened (EVENT_OBJECT_SHOW...) to which object of which
// window (OBJID_WINDOW and CHILDID_SELF: the window itself). It must not
// throw; a failure is ignored where the platform calls back.
using WinEventProc = std::function<void(DWORD event, HWND wnd, LONG object, LONG child)>;

// Hooks the events from `first` to `last` of the process `pid`; empty where
// the platform refuses. `proc` is called until the hook is released.
WinEventHook SetWinEventHook(DWORD first, DWORD last, DWORD pid, WinEventProc proc);

}  // namespace winsys
