#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "lookup/uProcessIDWin.h"
#include "tests/companion/CompanionProtocol.h"
#include "tests/support/ImportHook.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Timer.h"

namespace {

TEST(CompanionCommandLine, IsTheQuotedPathBesideTheLauncher) {
  EXPECT_EQ(CompanionCommandLine("C:\\Program Files\\Kestron\\Kestron.exe"),
            "\"C:\\Program Files\\Kestron\\Korvastel\"");
  EXPECT_EQ(CompanionCommandLine("D:\\Kestron.exe"), "\"D:\\Korvastel\"");
}

bool HasLine(const std::string& path, const std::string& line) {
  auto lines = ReadLines(path);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Contents(const std::string& path) {
  std::string all;
  for (const auto& line : ReadLines(path)) all += "\n  " + line;
  return all;
}

// With the launcher in "...\Temp\Kestron start N\", an unquoted command line
// would make Windows try "...\Temp\Kestron.exe" first: a decoy waits there.
TEST(Startup, SplashIsOnTopBeforeTheCompanionStartsFromAFolderWithBlanks) {
  ASSERT_TRUE(KillProcessesNamed("Korvastel"));
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024) << "the test screen is 1024 x 768";
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  TempFolder folder("Kestron start");
  folder.CopyIn(BinFolder() + "Kestron.exe", "Kestron.exe");
  folder.CopyIn(BinFolder() + "Korvastel", "Korvastel");
  const std::string parent = folder.Path().substr(0, folder.Path().find("Kestron start"));
  const std::string decoy = parent + "Kestron.exe";
  CopyFileA((BinFolder() + "Korvastel").c_str(), decoy.c_str(), FALSE);
  const std::string report = folder.Path() + "report.txt";
  ScopedEnv env({{"KORVASTEL_REPORT", report}});

  ChildProcess launcher("\"" + folder.Path() + "Kestron.exe\"", folder.Path());
  ASSERT_TRUE(launcher.Started());
  EXPECT_TRUE(WaitUntil([&] { return GetProcessIdByExeName("Korvastel") != 0; }))
      << "the companion never started";
  EXPECT_TRUE(WaitUntil([&] { return HasLine(report, "started " + folder.Path() + "Korvastel"); }))
      << "the companion did not start from the launcher's folder";
  // The companion looks for the splash, and covers it, before it creates its first window.
  EXPECT_TRUE(WaitUntil([&] {
    return HasLine(report, "splash 278 198 468 316 visible=1 back-on-top=1");
  })) << "the splash must be up and centred before the companion starts, and kept on top; report:"
      << Contents(report);
  auto lines = ReadLines(report);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("started ", 0) == 0; }),
            1)
      << "only the companion may start";

  KillProcessesNamed("Korvastel");
  KillProcessesNamed("Kestron.exe");
  DeleteFileA(decoy.c_str());
}

// The launcher's own sequence run in this process, watched through this
// program's import table: a window class may be made to fail; each brand
// title written before the controller exists is noted; so are the
// companion's title when the start call returns, and what the start-up has
// done to its main window by the time the controller's form is first shown,
// before any pass or tick.
const char* g_failingClass;
decltype(&::CreateWindowExA) g_createWindow;
decltype(&::SetWindowTextA) g_setWindowText;
decltype(&::WinExec) g_winExec;
std::vector<std::string> g_brandsWrittenBeforeController;
std::string g_titleWhenStarted;
struct StartUpResult {
  bool recorded, vendorAddressHidden, descriptionCut;
} g_atFirstShow;

HWND CompanionMain() { return CompanionMainWindow(GetProcessIdByExeName(CompanionExeName)); }

HWND WINAPI WatchedCreateWindow(DWORD exStyle, LPCSTR cls, LPCSTR title, DWORD style, int x, int y,
                                int w, int h, HWND parent, HMENU menu, HINSTANCE instance,
                                LPVOID param) {
  const bool named = HIWORD(reinterpret_cast<UINT_PTR>(cls)) != 0;  // not a class atom
  if (named && g_failingClass && std::string(cls) == g_failingClass) return nullptr;
  if (named && std::string(cls) == "TForm1") {
    HWND main = CompanionMain();
    g_atFirstShow = {main && MainEnWnd == main,
                     !IsWindowVisible(GetDlgItem(main, kIdVendorAddress)),
                     SendMessageA(GetDlgItem(main, kIdDescription), EM_GETLINECOUNT, 0, 0) <= 10};
  }
  return g_createWindow(exStyle, cls, title, style, x, y, w, h, parent, menu, instance, param);
}

BOOL WINAPI WatchedSetWindowText(HWND wnd, LPCSTR text) {
  if (!Form1 && std::string(text) == BrandMainEn) {
    const bool splashShowing = Form2 && IsWindowVisible(Form2->Handle());
    g_brandsWrittenBeforeController.push_back(text +
                                              std::string(splashShowing ? " over the splash" : ""));
  }
  return g_setWindowText(wnd, text);
}

UINT WINAPI WatchedWinExec(LPCSTR commandLine, UINT show) {
  const UINT result = g_winExec(commandLine, show);
  g_titleWhenStarted = WindowText(CompanionMain());
  return result;
}

HWINEVENTHOOK WINAPI RefuseWinEventHook(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD, DWORD) {
  return nullptr;
}

struct InProcessLauncher {
  ImportHook<decltype(&::CreateWindowExA)> create{"user32.dll", "CreateWindowExA",
                                                  WatchedCreateWindow};
  ImportHook<decltype(&::SetWindowTextA)> setText{"user32.dll", "SetWindowTextA",
                                                  WatchedSetWindowText};
  ImportHook<decltype(&::WinExec)> winExec{"kernel32.dll", "WinExec", WatchedWinExec};
  MessageBoxes errorBoxes;
  explicit InProcessLauncher(const char* failingClass) {
    g_createWindow = create.Original();
    g_setWindowText = setText.Original();
    g_winExec = winExec.Original();
    g_failingClass = failingClass;
    g_brandsWrittenBeforeController.clear();
    g_titleWhenStarted.clear();
    g_atFirstShow = {};
    Form1 = nullptr;
    MainCnWnd = MainEnWnd = AboutWnd = nullptr;
  }
};

// A window that cannot be made outside every event handler, before the
// companion starts (the splash) or when the loop first shows the controller
// (its address label), ends the launcher through the error box.
TEST(Startup, AWindowThatCannotBeMadeEndsItThroughTheErrorBox) {
  const struct {
    const char* failingClass;
    bool companionStarted;
  } rows[] = {{"TForm2", false}, {"TStaticText", true}};
  for (const auto& row : rows) {
    ASSERT_TRUE(KillProcessesNamed(CompanionExeName));
    InProcessLauncher launcher(row.failingClass);
    EXPECT_EQ(RunKestron(), 1) << row.failingClass;
    EXPECT_EQ(launcher.errorBoxes.Shown(),
              std::vector<std::string>{"kestron_tests: Error creating window"})
        << row.failingClass;
    EXPECT_EQ(Form2, nullptr) << "the splash would cover the box";
    EXPECT_EQ(GetProcessIdByExeName(CompanionExeName) != 0, row.companionStarted)
        << row.failingClass;
  }
  KillProcessesNamed(CompanionExeName);
}

// The user sees the vendor's title only until the companion's main window
// exists: it wears the brand before the start call returns, also while the
// companion keeps working after showing it or stands a connection-failure
// box in front of it. The start-up then records it and runs its rule set
// before the controller exists (its title written once more, with the splash
// gone from the screen first), and the ticks after it still find everything
// they need for an About box. Another program's main window with the
// companion's title is left alone.
TEST(Startup, RetitlesTheMainWindowWhileTheCompanionStarts) {
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> env;
    bool aboutBox;     // the companion opens its About box after starting
    bool refuseHooks;  // the platform reports no window event: the watcher walks the windows
  } rows[] = {
      {"busy", {{"KORVASTEL_BUSY_MS", "500"}, {"KORVASTEL_ABOUT_AFTER_MS", "800"}}, true, false},
      {"connection-failure box", {{"KORVASTEL_START", "connfail"}}, false, false},
      {"busy, no window events", {{"KORVASTEL_BUSY_MS", "500"}}, false, true},
  };
  TempFolder folder("Kestron lookalike");
  folder.CopyIn(BinFolder() + "Korvastel", "Lookalike.exe");
  ChildProcess lookalike("\"" + folder.Path() + "Lookalike.exe\"");
  ASSERT_TRUE(StartCompanion(lookalike));
  HWND other = CompanionMainWindow(lookalike.Pid());
  for (const auto& row : rows) {
    ASSERT_TRUE(KillProcessesNamed(CompanionExeName));
    ScopedEnv env(row.env);
    InProcessLauncher launcher(nullptr);
    std::optional<ImportHook<decltype(&::SetWinEventHook)>> refuse;
    if (row.refuseHooks) refuse.emplace("user32.dll", "SetWinEventHook", RefuseWinEventHook);
    bool aboutHandled = false;
    const DWORD startMs = GetTickCount();
    winsys::TTimer watch(20, true, [&](winsys::TObject*) {
      if (aboutHandled) return;  // the companion is on its way out
      const DWORD pid = GetProcessIdByExeName(CompanionExeName);
      HWND about = CompanionAboutBox(pid);
      aboutHandled = about && WindowText(about) == BrandAboutEn &&
                     Form1->FLabelAbout.ParentWindow() == about && Form1->FLabelAbout.Handle() &&
                     Form1->Timer1.Enabled() && Form1->Timer3.Enabled() && OverlayOnScreen(about);
      if (aboutHandled || !row.aboutBox || GetTickCount() - startMs > 20000)
        SendCompanionCommand(pid, kCmdExit);
    });
    EXPECT_EQ(RunKestron(), 0) << row.name << ": ends once the companion has gone";
    EXPECT_EQ(g_titleWhenStarted, BrandMainEn) << row.name;
    EXPECT_TRUE(g_atFirstShow.recorded && g_atFirstShow.vendorAddressHidden &&
                g_atFirstShow.descriptionCut)
        << row.name << ": recorded " << g_atFirstShow.recorded << ", address hidden "
        << g_atFirstShow.vendorAddressHidden << ", description cut "
        << g_atFirstShow.descriptionCut;
    EXPECT_EQ(g_brandsWrittenBeforeController, std::vector<std::string>{BrandMainEn}) << row.name;
    EXPECT_EQ(aboutHandled, row.aboutBox)
        << row.name << ": retitled, label moved in, overlay painted, timers running";
    EXPECT_EQ(WindowText(other), TitleMainEn) << row.name;
    EXPECT_TRUE(launcher.errorBoxes.Shown().empty()) << row.name;
  }
}

TEST(Splash, RepaintDrawsThePictureAtItsNaturalSize) {
  Form2 = new TForm2();
  Form2->Show();
  Form2->Timer1Timer(nullptr);
  EXPECT_TRUE(ShowsPicture(Form2->Handle(), {0, 0}, "SPLASH", 452, 308));
  FreeSplash();
}

}  // namespace
