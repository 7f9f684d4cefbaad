#include "check/Check.h"

#include <string>

#include "check/CheckWording.h"
#include "check/Report.h"
#include "check/Watcher.h"
#include "lookup/uProcessIDWin.h"
#include "text/TextTable.h"
#include "winsys/Win32Processes.h"
#include "winsys/Win32Shell.h"

namespace {

constexpr DWORD kPollIntervalMs = 100;
// Closing the console gives the check this long at most to write its report:
// the platform ends the process as soon as the handler returns, and after a
// time-out of its own if it does not.
constexpr DWORD kCloseGraceMs = 4000;
constexpr char kLauncherExeName[] = "Kestron.exe";

void Say(const std::string& line) { winsys::WriteStd(winsys::StdStream::Output, line + "\r\n"); }
void Complain(const std::string& line) {
  winsys::WriteStd(winsys::StdStream::Error, line + "\r\n");
}

std::string Digits(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(width > static_cast<int>(s.size()) ? width - s.size() : 0, '0') + s;
}

std::string FileStamp(const SYSTEMTIME& t) {
  return Digits(t.wYear, 4) + Digits(t.wMonth, 2) + Digits(t.wDay, 2) + "-" + Digits(t.wHour, 2) +
         Digits(t.wMinute, 2) + Digits(t.wSecond, 2);
}

std::string ShownStamp(const SYSTEMTIME& t) {
  return Digits(t.wYear, 4) + "-" + Digits(t.wMonth, 2) + "-" + Digits(t.wDay, 2) + " " +
         Digits(t.wHour, 2) + ":" + Digits(t.wMinute, 2) + ":" + Digits(t.wSecond, 2);
}

// Writes the report beside the folder it was started in, as a new file:
// a second run within the same second gets "-2" and so on. The path, or
// empty after saying why it failed.
std::string WriteReport(const std::string& html, const SYSTEMTIME& started,
                        const CheckWording& words) {
  const std::string stem = winsys::CurrentFolder() + "KestronCheck-" + FileStamp(started);
  for (int n = 1;; ++n) {
    const std::string path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".html";
    const DWORD failure = winsys::WriteNewFile(path, html);
    if (failure == ERROR_SUCCESS) return path;
    if (failure != ERROR_FILE_EXISTS || n == 99) {
      Complain(Fill(words.reportFailed, {path, winsys::ErrorText(failure)}));
      return {};
    }
  }
}

std::string OneDecimal(ULONGLONG tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

void SayProcessorUse(DWORD elapsedMs, const CheckWording& words) {
  const ULONGLONG used = winsys::OwnProcessorTimeMs();
  const ULONGLONG percentTenths = elapsedMs ? used * 1000 / elapsedMs : 0;
  Say(Fill(words.processorUse,
           {OneDecimal(percentTenths), OneDecimal(used / 100), OneDecimal(elapsedMs / 100)}));
}

}  // namespace

int RunCheck(const CheckOptions& options) {
  const CheckWording& words = CheckWordingForSystem();
  // Shared with the console's handler thread, which sets `stop` and, when
  // the console closes, waits for `done` before it returns.
  const winsys::KernelHandle stop = winsys::CreateEvent();
  const winsys::KernelHandle done = winsys::CreateEvent();
  winsys::HandleConsoleStop(stop.get(), done.get(), kCloseGraceMs);

  const SYSTEMTIME startedAt = winsys::LocalTime();
  const DWORD start = winsys::TickCount();
  Watcher watcher([&](const WindowRecord& record) {
    Say(Fill(record.changed ? words.changed : words.seen,
             {WindowName(record, words), Findings(record, words)}));
  });
  Say(Fill(words.waiting, {CompanionExeName}));
  DWORD pid = 0;
  bool launcherRunning = true;
  bool ended = false;
  while (!options.seconds || winsys::TickCount() - start < options.seconds * 1000) {
    const DWORD found = GetProcessIdByExeName(CompanionExeName);
    if (!found && pid) {
      Say(Fill(words.ended, {CompanionExeName}));
      ended = true;
      break;
    }
    if (found && found != pid) {
      pid = found;
      Say(Fill(words.watching, {CompanionExeName, std::to_string(pid)}));
      launcherRunning = GetProcessIdByExeName(kLauncherExeName) != 0;
      if (!launcherRunning) Say(Fill(words.noLauncher, {kLauncherExeName}));
    }
    if (pid) watcher.Poll(pid, winsys::TickCount());
    if (winsys::WaitForEvent(stop, kPollIntervalMs)) break;
  }
  const DWORD elapsed = winsys::TickCount() - start;

  int status = kCheckNoCompanion;
  if (!pid) {
    Complain(Fill(words.neverStarted, {CompanionExeName}));
  } else {
    if (!ended) watcher.Finish(pid);
    const Summary summary = Summarise(watcher.Records(), words);
    const std::string html =
        ReportHtml(watcher.Records(), summary, {ShownStamp(startedAt), launcherRunning}, words);
    Say(SummaryLine(summary, words));
    const std::string path = WriteReport(html, startedAt, words);
    if (!path.empty()) Say(Fill(words.reportWritten, {path}));
    status = path.empty()                  ? kCheckFailed
             : summary.vendorTexts.empty() ? kCheckClean
                                           : kCheckFoundVendorTexts;
    SayProcessorUse(elapsed, words);
  }
  winsys::SetEvent(done);
  if (winsys::OwnsConsoleAlone()) {
    Say(words.pressEnter);
    winsys::WaitForEnter();
  }
  return status;
}
