#include "winsys/WinEvents.h"

#include <map>
#include <utility>

#include "winsys/Failure.h"

namespace winsys {

namespace {

// The platform's callback carries only the hook, and a hook has no storage of
// its own (a window carries its object, see BindWindow): each hook's
// procedure, with whatever object it calls, is kept here while it lives.
// Threads hook and unhook at once (the start-up watcher and the controller),
// so the table is locked; a procedure is called outside the lock, which is
// safe because only the thread it runs on releases its hook.
class HookTable {
 public:
  HookTable() { ::InitializeCriticalSection(&lock_); }
  ~HookTable() { ::DeleteCriticalSection(&lock_); }
  HookTable(const HookTable&) = delete;
  HookTable& operator=(const HookTable&) = delete;

  void Add(HWINEVENTHOOK hook, WinEventProc proc) {
    Locked locked(lock_);
    procs_[hook] = std::move(proc);
  }
  void Remove(HWINEVENTHOOK hook) {
    Locked locked(lock_);
    procs_.erase(hook);
  }
  // The hook's procedure, or nullptr.
  const WinEventProc* Find(HWINEVENTHOOK hook) {
    Locked locked(lock_);
    const auto found = procs_.find(hook);
    return found == procs_.end() ? nullptr : &found->second;
  }

 private:
  class Locked {
   public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { ::EnterCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    ~Locked() { ::LeaveCriticalSection(&lock_); }

   private:
    CRITICAL_SECTION& lock_;
  };

  CRITICAL_SECTION lock_;
  std::map<HWINEVENTHOOK, WinEventProc> procs_;
};

HookTable& Hooks() {
  static HookTable hooks;
  return hooks;
}

void CALLBACK WinEventTrampoline(HWINEVENTHOOK hook, DWORD event, HWND wnd, LONG object, LONG child,
                                 DWORD, DWORD) {
  IgnoreFailure("a window event", [&] {
    if (const WinEventProc* proc = Hooks().Find(hook)) (*proc)(event, wnd, object, child);
  });
}

}  // namespace

void UnhookWinEventRelease::operator()(HWINEVENTHOOK hook) const {
  ::UnhookWinEvent(hook);
  Hooks().Remove(hook);
}

WinEventHook SetWinEventHook(DWORD first, DWORD last, DWORD pid, WinEventProc proc) {
  // Asked of a hook on one process, Wine 8 skips that process too.
  const DWORD skipOwn = pid ? 0 : WINEVENT_SKIPOWNPROCESS;
  HWINEVENTHOOK hook = ::SetWinEventHook(first, last, nullptr, WinEventTrampoline, pid, 0,
                                         WINEVENT_OUTOFCONTEXT | skipOwn);
  if (hook) Hooks().Add(hook, std::move(proc));
  return WinEventHook(hook);
}

}  // namespace winsys
