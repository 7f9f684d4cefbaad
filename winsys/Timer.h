// A timer whose events run on the main thread through the event loop.
#pragma once

#include <windows.h>

#include "winsys/FrameworkWindow.h"
#include "winsys/Object.h"

namespace winsys {

class TTimer : public TObject {
 public:
  TTimer(UINT intervalMs, bool enabled, TNotifyEvent onTimer);
  ~TTimer() override;
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  friend TTimer* BindWindow<TTimer>(HWND, UINT, LPARAM);

  HWND handle_ = nullptr;  // its own window: a late tick goes with it
  UINT interval_;
  bool enabled_ = false;
  TNotifyEvent onTimer_;
};

}  // namespace winsys
