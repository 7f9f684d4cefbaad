#include "winsys/Thread.h"

#include "winsys/Failure.h"

namespace winsys {

namespace {

constexpr DWORD kStopCheckMs = 10;

}  // namespace

TThread::TThread()
    : handle_(::CreateThread(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, nullptr)) {}

TThread::~TThread() {
  if (FreeOnTerminate || !handle_) return;  // freed by its own thread, or it never had one
  Terminate();
  ::ResumeThread(handle_.get());  // one never resumed ends without running its body
  ::WaitForSingleObject(handle_.get(), INFINITE);
}

void TThread::Resume() { ::ResumeThread(handle_.get()); }

DWORD WINAPI TThread::ThreadMain(void* param) {
  auto* self = static_cast<TThread*>(param);
  // A thread asked to stop before it first ran makes no pass. Nothing may
  // unwind out of the thread: a failure simply ends the body.
  if (!self->Terminated()) IgnoreFailure("the worker thread", [self] { self->Execute(); });
  if (!self->FreeOnTerminate) return 0;
  // A body that failed before the stop request still waits for it: the
  // owner makes that request through the object, which must be there.
  while (!self->Terminated()) ::Sleep(kStopCheckMs);
  delete self;
  return 0;
}

}  // namespace winsys
