// The launcher without its window-event hook, for the benchmark's poll-alone
// figures. Linked ahead of the launcher's library, these take the place of
// the real hook functions: the launcher then runs as where the platform
// refuses the hook. Built for the benchmark only, never shipped.
#include "winsys/WinEvents.h"

namespace winsys {

void UnhookWinEventRelease::operator()(HWINEVENTHOOK) const {}

WinEventHook SetWinEventHook(DWORD, DWORD, DWORD, WinEventProc) { return WinEventHook(); }

}  // namespace winsys
