// Measures what the launcher costs: one poll tick against the bare platform
// calls it makes, and how long the companion shows its own titles and texts
// before the brand replaces them, as the companion itself times it (it stamps
// when it shows a window or puts a text back, and when it receives the
// launcher's change). tools/bench.sh adds CPU time, memory and size.
// Usage (under Wine): kestron_bench [out.md] [latency.md] [start-up]
// ("start-up" measures the start-up rows alone, and beside them the rows of a
// companion restarted while the launcher runs, into latency.md).
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "lookup/uProcessIDWin.h"
#include "tests/companion/CompanionProtocol.h"
#include "tests/support/ControllerAccess.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Timer.h"

namespace {

double g_ticksPerMs;
// Runs of each re-label latency, for each path.
constexpr int kLatencyRuns = 50;
// The pause between two reads of the companion's report.
constexpr DWORD kReportReadPauseMs = 20;
// How long a user leaves the About box open once it carries the brand, and
// how long before opening it again: the launcher is done with one box
// before the next comes, as it always is when a person opens them.
constexpr DWORD kAboutPauseMs = 100;
// How long a launcher whose controller has begun is left to finish starting.
constexpr DWORD kSettleMs = 500;

double Ms(LONGLONG counts) { return counts / g_ticksPerMs; }

LONGLONG Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

struct Stats {
  double median, p99, max;
};

Stats Summarise(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)], v.back()};
}

template <typename F>
std::vector<double> TimeEach(int runs, F&& body) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const LONGLONG start = Counter();
    body();
    ms.push_back(Ms(Counter() - start));
  }
  return ms;
}

// The platform calls a tick must make, made directly.
struct BareSearch {
  DWORD pid;
  HWND found;
};
BOOL CALLBACK BareWindowProc(HWND wnd, LPARAM param) {
  auto* s = reinterpret_cast<BareSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid == s->pid && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    s->found = wnd;
    return FALSE;
  }
  return TRUE;
}

DWORD BareSnapshot() {
  DWORD pid = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32First(snap, &e); ok && !pid; ok = Process32Next(snap, &e))
    if (std::string(e.szExeFile) == CompanionExeName) pid = e.th32ProcessID;
  CloseHandle(snap);
  return pid;
}

void BarePlatformCalls() {
  BareSearch search{BareSnapshot(), nullptr};
  EnumWindows(BareWindowProc, reinterpret_cast<LPARAM>(&search));
  char title[256] = {};
  GetWindowTextA(search.found, title, 200);
}

// The period the platform really gives a 5 ms timer.
double TimerPeriodMs() {
  int ticks = 0;
  winsys::TTimer timer(5, true, [&](winsys::TObject*) { ++ticks; });
  const LONGLONG start = Counter();
  PumpMessages(2000);
  return Ms(Counter() - start) / std::max(ticks, 1);
}

LONGLONG StampIn(const std::string& report, const std::string& what, size_t nth) {
  size_t seen = 0;
  for (const auto& line : ReadLines(report))
    if (line.rfind(what + " ", 0) == 0 && seen++ == nth)
      return std::stoll(line.substr(what.size() + 1));
  return 0;
}

// The counter of the first `what` stamp after the counter `after`, or 0.
LONGLONG StampAfter(const std::string& report, const std::string& what, LONGLONG after) {
  for (const auto& line : ReadLines(report)) {
    if (line.rfind(what + " ", 0) != 0) continue;
    const LONGLONG at = std::stoll(line.substr(what.size() + 1));
    if (at > after) return at;
  }
  return 0;
}

// How the launcher learns of a new companion window.
struct Path {
  const char* name;
  const char* launcher;       // the program run as Kestron.exe
  const char* windowsEvents;  // "1": the companion reports its windows as Windows does
};
// Both launchers note when their start call returns (StampStart.cpp).
const Path kPaths[] = {
    {"window events, as Windows reports them", "Kestron-stamped.exe", "1"},
    {"window events, as Wine 8 reports them (creation only)", "Kestron-stamped.exe", "0"},
    {"poll alone (no window-event hook)", "Kestron-pollonly.exe", "1"},
};

using Variables = std::vector<std::pair<std::string, std::string>>;

struct Launch {
  TempFolder folder{"Kestron bench"};
  NoCompanionLeft noCompanion;  // ended before the folder goes
  std::unique_ptr<ScopedEnv> env;
  std::unique_ptr<ChildProcess> launcher;
  std::string report;          // the companion's
  std::string launcherReport;  // when the launcher's start call returned

  // `companion` is how the companion starts (its KORVASTEL_* variables).
  explicit Launch(const Path& path, const Variables& companion = {}) {
    folder.CopyIn(BinFolder() + path.launcher, "Kestron.exe");
    folder.CopyIn(BinFolder() + "Korvastel", "Korvastel");
    report = folder.Path() + "report.txt";
    launcherReport = folder.Path() + "launcher.txt";
    Variables variables = {{"KORVASTEL_REPORT", report},
                           {"KORVASTEL_WINDOWS_EVENTS", path.windowsEvents},
                           {"KESTRON_BENCH_REPORT", launcherReport}};
    variables.insert(variables.end(), companion.begin(), companion.end());
    env = std::make_unique<ScopedEnv>(variables);
    launcher =
        std::make_unique<ChildProcess>("\"" + folder.Path() + "Kestron.exe\"", folder.Path());
  }
};

// Waits for the launcher to relabel the companion it started, and for its
// controller to run (its first pass cuts the long description) and settle:
// the rows that use it measure a launcher at work; the start-up rows measure
// one that starts. The companion's process id.
DWORD RelabelledCompanion(const Launch& run) {
  const DWORD pid = WaitForCompanion();
  WaitUntil([&] { return WindowText(CompanionMainWindow(pid)) == BrandMainEn; });
  WaitUntil([&] {
    Sleep(kReportReadPauseMs);
    return StampIn(run.report, "cut " + std::to_string(kIdDescription), 0) != 0;
  });
  Sleep(kSettleMs);
  return pid;
}

// Both ends stamped by the companion: from its nth `from` stamp (the moment it
// shows a window or puts a text back) to its first `to` stamp after it (the
// moment it received the launcher's change). Appended to `ms` when both came;
// the counter at the end, or 0. The stamps carry the times, so the report is
// read seldom (each read is work for the Wine server, which the launcher and
// the companion wait on), for at most 5 s.
LONGLONG AddLatency(std::vector<double>& ms, const std::string& report, const std::string& from,
                    size_t nth, const std::string& to) {
  LONGLONG start = 0, end = 0;
  for (DWORD waited = 0; !end && waited < 5000; waited += kReportReadPauseMs) {
    Sleep(kReportReadPauseMs);
    start = StampIn(report, from, nth);
    end = start ? StampAfter(report, to, start) : 0;
  }
  if (end) ms.push_back(Ms(end - start));
  return end;
}

// The main window at start-up: from the companion's show to the brand, and
// whether the brand was on before the launcher's start call returned.
struct StartUp {
  std::vector<double> ms;
  int brandBeforeStartReturned = 0;
};

StartUp StartUpLatencies(const Path& path, const Variables& companion, int runs) {
  StartUp result;
  for (int i = 0; i < runs; ++i) {
    Launch run(path, companion);
    const LONGLONG retitled = AddLatency(result.ms, run.report, "shown", 0, "retitled main");
    WaitUntil([&] { return StampIn(run.launcherReport, "started", 0) != 0; }, 5000);
    const LONGLONG started = StampIn(run.launcherReport, "started", 0);
    if (retitled && started && retitled < started) ++result.brandBeforeStartReturned;
  }
  return result;
}

// The companion started again while the launcher runs.
std::vector<double> RestartRelabelLatencies(const Path& path, int runs) {
  std::vector<double> ms;
  Launch run(path);
  RelabelledCompanion(run);
  for (int i = 0; i < runs; ++i) {
    KillProcessesNamed(CompanionExeName);
    ChildProcess again(CompanionCommand(run.folder.Path()));
    AddLatency(ms, run.report, "shown", i + 1, "retitled main");
  }
  return ms;
}

// From the companion's `from` stamp of each About box it opens to the brand.
std::vector<double> AboutLatencies(const Path& path, int runs, const std::string& from) {
  std::vector<double> ms;
  Launch run(path);
  const DWORD pid = RelabelledCompanion(run);
  for (int i = 0; i < runs; ++i) {
    SendCompanionCommand(pid, kCmdOpenAbout);
    AddLatency(ms, run.report, from, i, "retitled about");
    Sleep(kAboutPauseMs);
    SendCompanionCommand(pid, kCmdCloseAbout);
    WaitUntil([&] { return CompanionAboutBox(pid) == nullptr; });
    Sleep(kAboutPauseMs);
  }
  return ms;
}

// From the moment the companion is about to show the box.
std::vector<double> AboutRelabelLatencies(const Path& path, int runs) {
  return AboutLatencies(path, runs, "about");
}

// From the moment the companion's show returned: no program can retitle the
// box while the companion is inside that call.
std::vector<double> AboutAfterShowLatencies(const Path& path, int runs) {
  return AboutLatencies(path, runs, "about-shown");
}

// The companion puts back, again and again, a text its main window's rules
// take away: from the moment it does to the moment it receives the change.
std::vector<double> PutBackLatencies(const Path& path, int runs, int command, const char* putBack,
                                     const std::string& changed) {
  std::vector<double> ms;
  Launch run(path);
  const DWORD pid = RelabelledCompanion(run);
  for (int i = 0; i < runs; ++i) {
    SendCompanionCommand(pid, command);
    AddLatency(ms, run.report, putBack, i, changed);
  }
  return ms;
}

std::vector<double> AddressShownAgainLatencies(const Path& path, int runs) {
  return PutBackLatencies(path, runs, kCmdShowVendorAddressAgain, "address-back",
                          "hidden " + std::to_string(kIdVendorAddress));
}

std::vector<double> LongTextPutBackLatencies(const Path& path, int runs) {
  return PutBackLatencies(path, runs, kCmdPutLongTextBack, "text-back",
                          "cut " + std::to_string(kIdDescription));
}

// The long text put back, less the time the companion's rich-text control
// spends inside the launcher's selection laying the new text out (Wine's
// does it there, before it can take the cut): the launcher's own share.
std::vector<double> LongTextLauncherShares(const Path& path, int runs) {
  const std::string id = " " + std::to_string(kIdDescription);
  std::vector<double> ms;
  Launch run(path);
  const DWORD pid = RelabelledCompanion(run);
  for (int i = 0; i < runs; ++i) {
    SendCompanionCommand(pid, kCmdPutLongTextBack);
    std::vector<double> total;
    if (!AddLatency(total, run.report, "text-back", i, "cut" + id)) continue;
    const LONGLONG putBack = StampIn(run.report, "text-back", i);
    const LONGLONG selecting = StampAfter(run.report, "selecting" + id, putBack);
    const LONGLONG selected = StampAfter(run.report, "selected" + id, selecting);
    if (selecting && selected) ms.push_back(total[0] - Ms(selected - selecting));
  }
  return ms;
}

std::string Fixed(double v, int digits = 3) {
  char s[32];
  std::snprintf(s, sizeof s, "%.*f", digits, v);
  return s;
}

std::string Ticks(double ms, double period) { return Fixed(ms / period, 2); }

// One row of the latency table: p50 / p99 / max, in ms and in ticks.
std::string LatencyRow(const char* window, const Path& path, const std::vector<double>& ms,
                       double period) {
  const Stats s = Summarise(ms);
  return std::string("| ") + window + " | " + path.name + " | " + std::to_string(ms.size()) +
         " | " + Fixed(s.median, 1) + " / " + Fixed(s.p99, 1) + " / " + Fixed(s.max, 1) + " | " +
         Ticks(s.median, period) + " / " + Ticks(s.p99, period) + " / " + Ticks(s.max, period) +
         " |\n";
}

struct Window {
  const char* name;
  std::vector<double> (*measure)(const Path&, int);
};
const Window kAboutBox = {"About box", AboutRelabelLatencies};
const Window kAboutBoxAfterShow = {"About box, from the return of the companion's show",
                                   AboutAfterShowLatencies};
const Window kRestarted = {"main window of a companion restarted while the launcher runs",
                           RestartRelabelLatencies};
const Window kAddressShownAgain = {"vendor address shown again", AddressShownAgainLatencies};
const Window kLongTextPutBack = {"long text put back", LongTextPutBackLatencies};
const Window kLongTextLauncherShare = {
    "long text put back, less the companion's own layout inside the selection",
    LongTextLauncherShares};
const std::vector<Window> kAllWindows = {kAboutBox,        kAboutBoxAfterShow,
                                         kRestarted,       kAddressShownAgain,
                                         kLongTextPutBack, kLongTextLauncherShare};

std::string LatencyTable(const std::vector<Window>& windows, double period) {
  std::string t =
      "| re-label latency | path | runs | p50 / p99 / max, ms | in ticks |\n|---|---|---|---|---|\n";
  for (const Window& window : windows)
    for (const Path& path : kPaths)
      t += LatencyRow(window.name, path, window.measure(path, kLatencyRuns), period);
  return t;
}

std::string StartUpTable() {
  struct Start {
    const char* name;
    Variables companion;
  };
  const Start starts[] = {
      {"main window at start-up", {}},
      {"main window at start-up, connection-failure box in front",
       {{"KORVASTEL_START", "connfail"}}},
      {"main window at start-up, companion busy for 500 ms after showing it",
       {{"KORVASTEL_BUSY_MS", "500"}}},
  };
  std::ostringstream t;
  t << "| start-up | path | runs | show to brand, p50 / p99 / max, ms | brand on before the start "
       "call returned |\n"
    << "|---|---|---|---|---|\n";
  for (const Start& start : starts) {
    for (const Path& path : kPaths) {
      const StartUp result = StartUpLatencies(path, start.companion, kLatencyRuns);
      if (result.ms.empty()) continue;
      const Stats s = Summarise(result.ms);
      t << "| " << start.name << " | " << path.name << " | " << result.ms.size() << " | "
        << Fixed(s.median, 1) << " / " << Fixed(s.p99, 1) << " / " << Fixed(s.max, 1) << " | "
        << result.brandBeforeStartReturned << " of " << result.ms.size() << " |\n";
    }
  }
  return t.str();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "bench.md";
  const std::string latencyOut = argc > 2 ? argv[2] : "latency.md";
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  g_ticksPerMs = frequency.QuadPart / 1000.0;
  LoadLibraryA("riched32.dll");
  const double period = TimerPeriodMs();
  if (argc > 3 && std::string(argv[3]) == "start-up") {
    const std::string startUp = LatencyTable({kRestarted}, period) + "\n" + StartUpTable();
    std::printf("%s", startUp.c_str());
    std::ofstream(latencyOut) << startUp;
    return 0;
  }

  const NoCompanionLeft noCompanion;
  ChildProcess companion(CompanionCommand());
  StartCompanion(companion);
  winsys::Application.CreateForm(Form1);
  Form1->Timer1.SetEnabled(false);
  Form1->Timer3.SetEnabled(false);
  for (int i = 0; i < 50; ++i) Controller().Timer1Timer();  // recognise and retitle first
  // Interleaved, so that both see the same machine load.
  std::vector<double> ticks, lookups, bares, snapshots;
  for (int i = 0; i < 2000; ++i) {
    ticks.push_back(TimeEach(1, [] { Controller().Timer1Timer(); })[0]);
    lookups.push_back(
        TimeEach(1, [] { FindProcessWindow(GetProcessIdByExeName(CompanionExeName)); })[0]);
    bares.push_back(TimeEach(1, BarePlatformCalls)[0]);
    snapshots.push_back(TimeEach(1, BareSnapshot)[0]);
  }
  const Stats tick = Summarise(ticks), lookup = Summarise(lookups), bare = Summarise(bares),
              snapshot = Summarise(snapshots);
  const std::size_t processes = RunningProcesses().size();
  winsys::Application.DestroyForms();
  companion.Kill();

  std::ostringstream latencies;
  latencies << LatencyTable(kAllWindows, period) << "\n" << StartUpTable();

  std::ostringstream t;
  t << "| measure | value | goal |\n|---|---|---|\n"
    << "| timer period asked 5 ms, delivered | " << Fixed(period, 2) << " ms | |\n"
    << "| poll tick, median / p99 | " << Fixed(tick.median) << " / " << Fixed(tick.p99)
    << " ms | |\n"
    << "| companion lookup (process by name, then its window; " << processes
    << " processes running), median / p99 | " << Fixed(lookup.median) << " / " << Fixed(lookup.p99)
    << " ms | |\n"
    << "| bare platform calls (snapshot, window walk, title), median / p99 | " << Fixed(bare.median)
    << " / " << Fixed(bare.p99) << " ms | |\n"
    << "| of which the process snapshot, median | " << Fixed(snapshot.median) << " ms | |\n"
    << "| tick / bare calls (medians) | " << Fixed(tick.median / bare.median, 2) << " | <= 1.2 |\n";
  std::printf("%s\n%s", t.str().c_str(), latencies.str().c_str());
  std::ofstream(out) << t.str();
  std::ofstream(latencyOut) << latencies.str();
  return 0;
}
