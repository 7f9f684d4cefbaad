#include "winsys/Failure.h"

#ifndef NDEBUG

#include <windows.h>

#include <string>

namespace winsys {

void TraceIgnoredFailure(const char* what, const char* error) {
  const std::string line =
      std::string("Kestron ignored a failure in ") + what + ": " + error + "\n";
  ::OutputDebugStringA(line.c_str());
}

}  // namespace winsys

#endif
