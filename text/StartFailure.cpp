#include "text/StartFailure.h"

namespace {

// The platform's codes the user is told about in words.
constexpr unsigned kFileNotFound = 2;
constexpr unsigned kPathNotFound = 3;
constexpr unsigned kAccessDenied = 5;
constexpr unsigned kNotEnoughMemory = 8;
constexpr unsigned kBadFormat = 11;
constexpr unsigned kOutOfMemory = 14;
constexpr unsigned kBadExeFormat = 193;
constexpr unsigned kExeMachineTypeMismatch = 216;
constexpr unsigned kElevationRequired = 740;
constexpr unsigned kDisabledByPolicy = 1260;

struct Wording {
  const char* heading;  // followed by the path
  const char* notFound;
  const char* accessRefused;
  const char* needsAdministrator;
  const char* notAProgram;
  const char* noResources;
  const char* otherCode;  // followed by the code and `fullStop`
  const char* fullStop;
};

constexpr Wording kEnglish = {
    "Kestron could not start the programmer software:",
    "The file was not found. Put Kestron.exe in the folder that holds Korvastel.",
    "Windows refused access to the file: it may be blocked by the system's policy or by "
    "security software.",
    "The programmer software needs administrator rights: run Kestron.exe as administrator.",
    "Windows cannot start this file: it is not a program this system can run.",
    "The system is out of memory or resources.",
    "Windows reported error code ",
    ".",
};

constexpr Wording kChinese = {
    // "Kestron 无法启动编程器软件："
    "Kestron \xCE\xDE\xB7\xA8\xC6\xF4\xB6\xAF\xB1\xE0\xB3\xCC\xC6\xF7\xC8\xED\xBC\xFE\xA3\xBA",
    // "找不到这个文件。请把 Kestron.exe 放到 Korvastel 所在的文件夹里。"
    "\xD5\xD2\xB2\xBB\xB5\xBD\xD5\xE2\xB8\xF6\xCE\xC4\xBC\xFE\xA1\xA3\xC7\xEB\xB0\xD1 Kestron.exe "
    "\xB7\xC5\xB5\xBD Korvastel \xCB\xF9\xD4\xDA\xB5\xC4\xCE\xC4\xBC\xFE\xBC\xD0\xC0\xEF\xA1\xA3",
    // "Windows 拒绝访问这个文件：它可能被系统策略或安全软件阻止。"
    "Windows \xBE\xDC\xBE\xF8\xB7\xC3\xCE\xCA\xD5\xE2\xB8\xF6\xCE\xC4\xBC\xFE\xA3\xBA\xCB\xFC\xBF\xC9"
    "\xC4\xDC\xB1\xBB\xCF\xB5\xCD\xB3\xB2\xDF\xC2\xD4\xBB\xF2\xB0\xB2\xC8\xAB\xC8\xED\xBC\xFE\xD7\xE8"
    "\xD6\xB9\xA1\xA3",
    // "编程器软件需要管理员权限：请以管理员身份运行 Kestron.exe。"
    "\xB1\xE0\xB3\xCC\xC6\xF7\xC8\xED\xBC\xFE\xD0\xE8\xD2\xAA\xB9\xDC\xC0\xED\xD4\xB1\xC8\xA8\xCF\xDE"
    "\xA3\xBA\xC7\xEB\xD2\xD4\xB9\xDC\xC0\xED\xD4\xB1\xC9\xED\xB7\xDD\xD4\xCB\xD0\xD0 Kestron.exe\xA1\xA3",
    // "Windows 无法启动这个文件：它不是本系统能运行的程序。"
    "Windows \xCE\xDE\xB7\xA8\xC6\xF4\xB6\xAF\xD5\xE2\xB8\xF6\xCE\xC4\xBC\xFE\xA3\xBA\xCB\xFC\xB2\xBB"
    "\xCA\xC7\xB1\xBE\xCF\xB5\xCD\xB3\xC4\xDC\xD4\xCB\xD0\xD0\xB5\xC4\xB3\xCC\xD0\xF2\xA1\xA3",
    // "内存或系统资源不足。"
    "\xC4\xDA\xB4\xE6\xBB\xF2\xCF\xB5\xCD\xB3\xD7\xCA\xD4\xB4\xB2\xBB\xD7\xE3\xA1\xA3",
    // "Windows 报告的错误代码："
    "Windows \xB1\xA8\xB8\xE6\xB5\xC4\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA",
    // "。"
    "\xA1\xA3",
};

std::string Reason(const Wording& words, unsigned code) {
  switch (code) {
    case kFileNotFound:
    case kPathNotFound:
      return words.notFound;
    case kAccessDenied:
    case kDisabledByPolicy:
      return words.accessRefused;
    case kElevationRequired:
      return words.needsAdministrator;
    case kBadFormat:
    case kBadExeFormat:
    case kExeMachineTypeMismatch:
      return words.notAProgram;
    case kNotEnoughMemory:
    case kOutOfMemory:
      return words.noResources;
    default:
      return words.otherCode + std::to_string(code) + words.fullStop;
  }
}

}  // namespace

std::string StartFailureMessage(std::string_view path, unsigned code, bool chinese) {
  const Wording& words = chinese ? kChinese : kEnglish;
  return std::string(words.heading) + "\n" + std::string(path) + "\n\n" + Reason(words, code);
}
