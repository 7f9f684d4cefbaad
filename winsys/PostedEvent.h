// An event that code asks for now and that runs a moment later through the
// event loop, like a timer that fires once. Requests made while one is still
// pending are merged into it, so a burst of requests runs the event once.
#pragma once

#include <windows.h>

#include "winsys/FrameworkWindow.h"
#include "winsys/Object.h"

namespace winsys {

class TPostedEvent : public TObject {
 public:
  explicit TPostedEvent(TNotifyEvent onPosted);
  ~TPostedEvent() override;
  // Asks for one run of the event; nothing more while a run is pending.
  void Post();

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  friend TPostedEvent* BindWindow<TPostedEvent>(HWND, UINT, LPARAM);

  HWND handle_ = nullptr;  // its own window: a request still queued goes with it
  bool pending_ = false;
  TNotifyEvent onPosted_;
};

}  // namespace winsys
