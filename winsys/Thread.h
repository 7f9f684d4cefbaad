// A worker thread object: created suspended, stopped through an atomic flag,
// and either freeing itself when its body returns or stopped and joined when
// its owner destroys it.
#pragma once

#include <windows.h>

#include <atomic>

#include "winsys/Handles.h"
#include "winsys/Object.h"

namespace winsys {

class TThread : public TObject {
 public:
  TThread();  // suspended
  // Without it the owner destroys the object, which first sets the stop flag
  // and waits for the body to return (a body must watch Terminated()).
  // With it, nobody else may destroy the object once it is resumed.
  bool FreeOnTerminate = false;
  ~TThread() override;
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
