#include "winsys/Timer.h"

#include <utility>

#include "winsys/Application.h"

namespace winsys {

namespace {

constexpr char kTimerClass[] = "TTimerWindow";
constexpr UINT_PTR kTimerId = 1;  // each timer has a window of its own

}  // namespace

TTimer::TTimer(UINT intervalMs, bool enabled, TNotifyEvent onTimer)
    : interval_(intervalMs), onTimer_(std::move(onTimer)) {
  CreateMessageWindow(kTimerClass, WindowProc, this);
  SetEnabled(enabled);
}

TTimer::~TTimer() {
  if (handle_) ::DestroyWindow(handle_);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!handle_) return;
  if (enabled)
    ::SetTimer(handle_, kTimerId, interval_, nullptr);
  else
    ::KillTimer(handle_, kTimerId);
}

LRESULT CALLBACK TTimer::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = BindWindow<TTimer>(wnd, msg, lp);
  if (!self || msg != WM_TIMER) return ::DefWindowProcA(wnd, msg, wp, lp);
  if (self->enabled_ && self->onTimer_) Application.HandleEvent([self] { self->onTimer_(self); });
  return 0;
}

}  // namespace winsys
