#include "winsys/Thread.h"

#include "winsys/Failure.h"

namespace winsys {

TThread::TThread()
    : handle_(::CreateThread(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, nullptr)) {}

void TThread::Resume() { ::ResumeThread(handle_.get()); }

DWORD WINAPI TThread::ThreadMain(void* param) {
  auto* self = static_cast<TThread*>(param);
  // A thread asked to stop before it first ran makes no pass. Nothing may
  // unwind out of the thread: a failure simply ends the body.
  if (!self->Terminated()) IgnoreFailure("the worker thread", [self] { self->Execute(); });
  if (self->FreeOnTerminate) delete self;
  return 0;
}

}  // namespace winsys
