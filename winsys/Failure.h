// The one policy for failures the launcher ignores on purpose (a companion
// window that closed mid-walk, an About box painted before its context was
// taken): the work ends where it failed, the next tick runs as usual and the
// user sees nothing. A debug build writes a trace line for each one, so a
// developer running a debugger or a trace viewer sees what was swallowed.
#pragma once

#include <exception>

namespace winsys {

#ifdef NDEBUG
inline void TraceIgnoredFailure(const char*, const char*) {}
#else
// "Kestron ignored a failure in <what>: <error>" to the debugger's output.
void TraceIgnoredFailure(const char* what, const char* error);
#endif

// Runs the work; a failure leaving it is traced and goes no further.
template <typename Work>
void IgnoreFailure(const char* what, Work&& work) noexcept {
  try {
    work();
  } catch (const std::exception& e) {
    TraceIgnoredFailure(what, e.what());
  } catch (...) {
    TraceIgnoredFailure(what, "unknown error");
  }
}

}  // namespace winsys
