// KestronCheck.exe: the brand check resellers run beside the launcher and
// the real companion. Usage: KestronCheck.exe [--seconds N]
#include <string>

#include "check/Check.h"
#include "check/CheckWording.h"
#include "winsys/Win32Shell.h"

namespace {

constexpr unsigned long kMostSeconds = 86400;

void Say(const char* text, winsys::StdStream stream) {
  winsys::WriteStd(stream, std::string(text) + "\r\n");
}

bool ParseSeconds(const char* text, DWORD& seconds) {
  unsigned long value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9' || value > kMostSeconds) return false;
    value = value * 10 + static_cast<unsigned long>(*p - '0');
  }
  if (!*text || value < 1 || value > kMostSeconds) return false;
  seconds = value;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const CheckWording& words = CheckWordingForSystem();
  CheckOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "/?") {
      Say(words.usage, winsys::StdStream::Output);
      return kCheckClean;
    }
    if (arg == "--seconds") {
      if (i + 1 == argc || !ParseSeconds(argv[++i], options.seconds)) {
        Say(words.badSeconds, winsys::StdStream::Error);
        return kCheckFailed;
      }
      continue;
    }
    winsys::WriteStd(winsys::StdStream::Error, Fill(words.badArgument, {arg}) + "\r\n");
    return kCheckFailed;
  }
  return RunCheck(options);
}
