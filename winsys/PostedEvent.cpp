#include "winsys/PostedEvent.h"

#include <utility>

#include "winsys/Application.h"

namespace winsys {

namespace {

constexpr char kPostedEventClass[] = "TPostedEventWindow";
constexpr UINT kPostedEventMessage = WM_APP + 1;

}  // namespace

TPostedEvent::TPostedEvent(TNotifyEvent onPosted) : onPosted_(std::move(onPosted)) {
  CreateMessageWindow(kPostedEventClass, WindowProc, this);
}

TPostedEvent::~TPostedEvent() {
  if (handle_) ::DestroyWindow(handle_);
}

void TPostedEvent::Post() {
  if (pending_ || !handle_) return;
  pending_ = ::PostMessageA(handle_, kPostedEventMessage, 0, 0) != FALSE;
}

LRESULT CALLBACK TPostedEvent::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = BindWindow<TPostedEvent>(wnd, msg, lp);
  if (!self || msg != kPostedEventMessage) return ::DefWindowProcA(wnd, msg, wp, lp);
  self->pending_ = false;
  if (self->onPosted_) Application.HandleEvent([self] { self->onPosted_(self); });
  return 0;
}

}  // namespace winsys
