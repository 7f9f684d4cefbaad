#include "winsys/Timer.h"

#include <set>
#include <utility>

#include "winsys/Application.h"
#include "winsys/FrameworkWindow.h"

namespace winsys {

namespace {

constexpr char kTimerClass[] = "TTimerWindow";

// One hidden message-only window receives every timer's WM_TIMER.
HWND TimerWindow(WNDPROC proc) {
  static HWND wnd = CreateMessageWindow(kTimerClass, proc);
  return wnd;
}

UINT_PTR TimerId(const TTimer* timer) { return reinterpret_cast<UINT_PTR>(timer); }

// Timers that are alive, so a late WM_TIMER of a destroyed one is dropped.
std::set<const TTimer*>& LiveTimers() {
  static std::set<const TTimer*> timers;
  return timers;
}

}  // namespace

TTimer::TTimer(UINT intervalMs, bool enabled, TNotifyEvent onTimer)
    : interval_(intervalMs), onTimer_(std::move(onTimer)) {
  LiveTimers().insert(this);
  SetEnabled(enabled);
}

TTimer::~TTimer() {
  SetEnabled(false);
  LiveTimers().erase(this);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled)
    ::SetTimer(TimerWindow(WindowProc), TimerId(this), interval_, nullptr);
  else
    ::KillTimer(TimerWindow(WindowProc), TimerId(this));
}

LRESULT CALLBACK TTimer::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_TIMER) return ::DefWindowProcA(wnd, msg, wp, lp);
  auto* timer = reinterpret_cast<TTimer*>(wp);
  if (LiveTimers().count(timer) && timer->enabled_ && timer->onTimer_)
    Application.HandleEvent([timer] { timer->onTimer_(timer); });
  return 0;
}

}  // namespace winsys
