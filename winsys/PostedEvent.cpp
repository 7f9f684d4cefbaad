#include "winsys/PostedEvent.h"

#include <set>
#include <utility>

#include "winsys/Application.h"
#include "winsys/FrameworkWindow.h"

namespace winsys {

namespace {

constexpr char kPostedEventClass[] = "TPostedEventWindow";
constexpr UINT kPostedEventMessage = WM_APP + 1;

HWND PostedEventWindow(WNDPROC proc) {
  static HWND wnd = CreateMessageWindow(kPostedEventClass, proc);
  return wnd;
}

// Events that are alive, so that a message for a destroyed one is dropped.
std::set<const TPostedEvent*>& LiveEvents() {
  static std::set<const TPostedEvent*> events;
  return events;
}

}  // namespace

TPostedEvent::TPostedEvent(TNotifyEvent onPosted) : onPosted_(std::move(onPosted)) {
  LiveEvents().insert(this);
}

TPostedEvent::~TPostedEvent() { LiveEvents().erase(this); }

void TPostedEvent::Post() {
  if (pending_) return;
  pending_ = ::PostMessageA(PostedEventWindow(WindowProc), kPostedEventMessage,
                            reinterpret_cast<WPARAM>(this), 0) != FALSE;
}

LRESULT CALLBACK TPostedEvent::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kPostedEventMessage) return ::DefWindowProcA(wnd, msg, wp, lp);
  auto* event = reinterpret_cast<TPostedEvent*>(wp);
  if (!LiveEvents().count(event)) return 0;
  event->pending_ = false;
  if (event->onPosted_) Application.HandleEvent([event] { event->onPosted_(event); });
  return 0;
}

}  // namespace winsys
