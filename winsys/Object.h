// What every framework component shares: a common base, the event signature
// and the bounds a control is placed at.
#pragma once

#include <windows.h>

#include <functional>

namespace winsys {

class TObject {
 public:
  virtual ~TObject() = default;
};

// An event handler; it receives the component that fired the event.
using TNotifyEvent = std::function<void(TObject* sender)>;

struct TBounds {
  int left, top, width, height;
};

inline RECT ToRect(const TBounds& b) { return {b.left, b.top, b.left + b.width, b.top + b.height}; }

}  // namespace winsys
