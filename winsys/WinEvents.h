// Window events of other processes, delivered out of context: the platform
// queues them to the thread that hooked them and calls back while that
// thread processes its messages. Events of this program's own windows are
// never reported.
#pragma once

#include <windows.h>

#include <functional>

#include "winsys/Handles.h"

namespace winsys {

struct UnhookWinEventRelease {
  void operator()(HWINEVENTHOOK hook) const;
};
// Released on the thread that made it, as the platform asks.
using WinEventHook = Owned<HWINEVENTHOOK, UnhookWinEventRelease>;

// One event: what happened (EVENT_OBJECT_SHOW...) to which object of which
// window (OBJID_WINDOW and CHILDID_SELF: the window itself). It must not
// throw; a failure is ignored where the platform calls back.
using WinEventProc = std::function<void(DWORD event, HWND wnd, LONG object, LONG child)>;

// Hooks the events from `first` to `last` of the process `pid` (0: of every
// other process); empty where the platform refuses. `proc` is called on this
// thread until the hook is released. Any thread may hook.
WinEventHook SetWinEventHook(DWORD first, DWORD last, DWORD pid, WinEventProc proc);

}  // namespace winsys
