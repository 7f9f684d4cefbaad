#include "winsys/WinEvents.h"

#include <map>
#include <utility>

#include "winsys/Failure.h"

namespace winsys {

namespace {

// The platform's callback carries only the hook, and a hook has no storage of
// its own (a window carries its object, see BindWindow): each hook's
// procedure, with whatever object it calls, is kept here while it lives.
std::map<HWINEVENTHOOK, WinEventProc>& HookProcs() {
  static std::map<HWINEVENTHOOK, WinEventProc> procs;
  return procs;
}

void CALLBACK WinEventTrampoline(HWINEVENTHOOK hook, DWORD event, HWND wnd, LONG object, LONG child,
                                 DWORD, DWORD) {
  IgnoreFailure("a window event", [&] {
    const auto found = HookProcs().find(hook);
    if (found != HookProcs().end()) found->second(event, wnd, object, child);
  });
}

}  // namespace

void UnhookWinEventRelease::operator()(HWINEVENTHOOK hook) const {
  ::UnhookWinEvent(hook);
  HookProcs().erase(hook);
}

WinEventHook SetWinEventHook(DWORD first, DWORD last, DWORD pid, WinEventProc proc) {
  HWINEVENTHOOK hook =
      ::SetWinEventHook(first, last, nullptr, WinEventTrampoline, pid, 0, WINEVENT_OUTOFCONTEXT);
  if (hook) HookProcs()[hook] = std::move(proc);
  return WinEventHook(hook);
}

}  // namespace winsys
