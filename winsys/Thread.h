// A worker thread object: created suspended, stopped through an atomic flag,
// and freeing itself when its body returns.
#pragma once

#include <windows.h>

#include <atomic>

#include "winsys/Handles.h"
#include "winsys/Object.h"

namespace winsys {

class TThread : public TObject {
 public:
  TThread();  // suspended
  // With it, the object frees itself once its body has returned; nobody else
  // may destroy it once it is resumed, and a body that its owner stops must
  // not return before it is asked to. Without it, the object must outlive
  // its thread, which nothing waits for: every thread of the launcher sets it.
  bool FreeOnTerminate = false;
  void Resume();
  // Sets the stop flag and returns at once.
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

 protected:
  virtual void Execute() = 0;

 private:
  static DWORD WINAPI ThreadMain(void* param);
  std::atomic<bool> terminated_{false};
  KernelHandle handle_;
};

}  // namespace winsys
