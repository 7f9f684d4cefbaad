#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "lookup/uProcessIDWin.h"
#include "tests/companion/CompanionProtocol.h"
#include "tests/support/ControllerAccess.h"
#include "tests/support/ImportHook.h"
#include "tests/support/Languages.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Handles.h"
#include "winsys/Timer.h"

namespace {

bool HasLine(const std::string& path, const std::string& line) {
  auto lines = ReadLines(path);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Contents(const std::string& path) {
  std::string all;
  for (const auto& line : ReadLines(path)) all += "\n  " + line;
  return all;
}

// What the stand-in companion reports of the show request it was given: its
// WinMain's (the C runtime passes SW_SHOWDEFAULT when none was given), and
// the start-up information's, for a start that hands on `given`.
std::string ShowRequestLine(std::optional<WORD> given) {
  return "show-request " + std::to_string(given ? *given : SW_SHOWDEFAULT) +
         (given ? " given=" + std::to_string(*given) : " none");
}

// The show request this program was started with.
std::optional<WORD> OwnShowRequest() {
  STARTUPINFOA own{};
  own.cb = sizeof own;
  GetStartupInfoA(&own);
  if (own.dwFlags & STARTF_USESHOWWINDOW) return own.wShowWindow;
  return std::nullopt;
}

// With the launcher in "...\Temp\Kestron start N\", an unquoted command line
// would make Windows try "...\Temp\Kestron.exe" first: a decoy waits there.
// Started from another folder by a shortcut that asks for a maximised
// window, the launcher hands that request on to the companion, with the
// brand's taskbar identity, and starts it in its own folder.
TEST(Startup, SplashIsOnTopBeforeTheCompanionStartsFromAFolderWithBlanks) {
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
  NoCompanionLeft noCompanion;  // ended before the folder goes

  ChildProcess launcher("\"" + folder.Path() + "Kestron.exe\"", parent, SW_SHOWMAXIMIZED);
  ASSERT_TRUE(launcher.Started()) << "error " << GetLastError() << " in " << folder.Path();
  EXPECT_NE(WaitForCompanion(), 0u) << "the companion never started";
  EXPECT_TRUE(WaitUntil([&] { return HasLine(report, "started " + folder.Path() + "Korvastel"); }))
      << "the companion did not start from the launcher's folder";
  // The companion looks for the splash, and covers it, before it creates its first window.
  EXPECT_TRUE(WaitUntil([&] {
    return HasLine(report, "splash 278 198 468 316 visible=1 back-on-top=1");
  })) << "the splash must be up and centred before the companion starts, and kept on top; report:"
      << Contents(report);
  EXPECT_TRUE(HasLine(report, ShowRequestLine(SW_SHOWMAXIMIZED))) << Contents(report);
  EXPECT_TRUE(HasLine(report, "app-id " + std::string(BrandAppId)))
      << "the companion starts with the taskbar identity of the launcher's shortcuts:"
      << Contents(report);
  EXPECT_TRUE(HasLine(report, "folder " + folder.Path().substr(0, folder.Path().size() - 1)))
      << Contents(report);
  auto lines = ReadLines(report);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("started ", 0) == 0; }),
            1)
      << "only the companion may start";
  DeleteFileA(decoy.c_str());
}

// The launcher's own sequence run in this process, watched through this
// program's import table: each brand title written before the controller
// exists is noted, and every thread the launcher starts is kept track of; so
// are the program and command line it starts, the companion's title when the
// start's wait is over, and what the start-up has done to its main window by
// the time the controller's form is first shown, before any pass or tick.
decltype(&::CreateWindowExA) g_createWindow;
decltype(&::SetWindowTextA) g_setWindowText;
decltype(&::CreateThread) g_createThread;
decltype(&::CreateProcessA) g_createProcess;
decltype(&::WaitForInputIdle) g_waitForInputIdle;
std::vector<std::string> g_brandsWrittenBeforeController;
std::vector<winsys::KernelHandle> g_threadsStarted;
std::string g_startedAs;  // "<program>|<command line>"
std::string g_titleWhenStarted;
struct StartUpResult {
  bool recorded, vendorAddressHidden, descriptionCut;
} g_atFirstShow;

HWND CompanionMain() { return CompanionMainWindow(GetProcessIdByExeName(CompanionExeName)); }

HWND WINAPI WatchedCreateWindow(DWORD exStyle, LPCSTR cls, LPCSTR title, DWORD style, int x, int y,
                                int w, int h, HWND parent, HMENU menu, HINSTANCE instance,
                                LPVOID param) {
  const bool named = HIWORD(reinterpret_cast<UINT_PTR>(cls)) != 0;  // not a class atom
  if (named && std::string(cls) == "TForm1") {
    HWND main = CompanionMain();
    g_atFirstShow = {main && (MainEnWnd == main || MainCnWnd == main),
                     !IsWindowVisible(GetDlgItem(main, kIdVendorAddress)),
                     SendMessageA(GetDlgItem(main, kIdDescription), EM_GETLINECOUNT, 0, 0) <= 10};
  }
  return g_createWindow(exStyle, cls, title, style, x, y, w, h, parent, menu, instance, param);
}

BOOL WINAPI WatchedSetWindowText(HWND wnd, LPCSTR text) {
  if (!Form1 && (std::string(text) == BrandMainEn || std::string(text) == BrandMainCn)) {
    const bool splashShowing = Form2 && IsWindowVisible(Form2->Handle());
    g_brandsWrittenBeforeController.push_back(text +
                                              std::string(splashShowing ? " over the splash" : ""));
  }
  return g_setWindowText(wnd, text);
}

HANDLE WINAPI WatchedCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                                  LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags,
                                  LPDWORD id) {
  HANDLE thread = g_createThread(security, stack, start, param, flags, id);
  HANDLE watched = nullptr;
  if (thread && DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &watched,
                                SYNCHRONIZE, FALSE, 0))
    g_threadsStarted.emplace_back(watched);
  return thread;
}

BOOL WINAPI WatchedCreateProcess(LPCSTR program, LPSTR commandLine, LPSECURITY_ATTRIBUTES process,
                                 LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags,
                                 LPVOID environment, LPCSTR folder, LPSTARTUPINFOA startup,
                                 LPPROCESS_INFORMATION started) {
  g_startedAs = std::string(program ? program : "(none)") + "|" + commandLine;
  return g_createProcess(program, commandLine, process, thread, inherit, flags, environment,
                         folder, startup, started);
}

DWORD WINAPI WatchedWaitForInputIdle(HANDLE process, DWORD timeoutMs) {
  const DWORD result = g_waitForInputIdle(process, timeoutMs);
  g_titleWhenStarted = WindowText(CompanionMain());
  return result;
}

// Whether the launcher runs elevated, as its token says: elevated unless a
// case says otherwise, so that no case asks for a real elevation. Its
// request to start elevated is noted, and answered: started, or declined
// with this last error.
decltype(&::GetTokenInformation) g_getTokenInformation;
bool g_elevated;
std::string g_askedToElevate;  // "<verb>|<file>|<parameters>|<folder>|<show>"
DWORD g_elevationDeclined;

BOOL WINAPI AnsweredTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS what, LPVOID answer,
                                     DWORD size, PDWORD written) {
  if (what != TokenElevation || size < sizeof(TOKEN_ELEVATION))
    return g_getTokenInformation(token, what, answer, size, written);
  static_cast<TOKEN_ELEVATION*>(answer)->TokenIsElevated = g_elevated;
  *written = sizeof(TOKEN_ELEVATION);
  return TRUE;
}

BOOL WINAPI AnsweredShellExecuteEx(SHELLEXECUTEINFOA* info) {
  const auto text = [](const char* t) { return std::string(t ? t : "(none)"); };
  g_askedToElevate = text(info->lpVerb) + "|" + text(info->lpFile) + "|" +
                     text(info->lpParameters) + "|" + text(info->lpDirectory) + "|" +
                     std::to_string(info->nShow);
  if (!g_elevationDeclined) return TRUE;
  SetLastError(g_elevationDeclined);
  return FALSE;
}

struct InProcessLauncher {
  ImportHook<decltype(&::CreateWindowExA)> create{"user32.dll", "CreateWindowExA",
                                                  WatchedCreateWindow};
  ImportHook<decltype(&::SetWindowTextA)> setText{"user32.dll", "SetWindowTextA",
                                                  WatchedSetWindowText};
  ImportHook<decltype(&::CreateThread)> thread{"kernel32.dll", "CreateThread", WatchedCreateThread};
  ImportHook<decltype(&::CreateProcessA)> start{"kernel32.dll", "CreateProcessA",
                                                WatchedCreateProcess};
  ImportHook<decltype(&::WaitForInputIdle)> wait{"user32.dll", "WaitForInputIdle",
                                                 WatchedWaitForInputIdle};
  ImportHook<decltype(&::GetTokenInformation)> token{"advapi32.dll", "GetTokenInformation",
                                                     AnsweredTokenInformation};
  ImportHook<decltype(&::ShellExecuteExA)> elevate{"shell32.dll", "ShellExecuteExA",
                                                   AnsweredShellExecuteEx};
  MessageBoxes errorBoxes;
  InProcessLauncher() {
    g_createWindow = create.Original();
    g_setWindowText = setText.Original();
    g_createThread = thread.Original();
    g_createProcess = start.Original();
    g_waitForInputIdle = wait.Original();
    g_getTokenInformation = token.Original();
    g_elevated = true;
    g_askedToElevate.clear();
    g_elevationDeclined = 0;
    g_brandsWrittenBeforeController.clear();
    g_threadsStarted.clear();
    g_startedAs.clear();
    g_titleWhenStarted.clear();
    g_atFirstShow = {};
    ForgetRecordedWindows();
  }
  ~InProcessLauncher() { g_threadsStarted.clear(); }
  // Every thread the launcher started has ended, or does within a second.
  bool ThreadsEnded() const {
    for (const winsys::KernelHandle& started : g_threadsStarted)
      if (WaitForSingleObject(started.get(), 1000) != WAIT_OBJECT_0) return false;
    return true;
  }
};

// The last error a refused start leaves in a row.
DWORD g_startError;

BOOL WINAPI RefusedCreateProcess(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                 DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
  SetLastError(g_startError);
  return FALSE;
}

UINT WINAPI ChineseCodePage() { return 936; }

// Whatever fails before the controller runs ends the launcher through one
// error box: with no owner, brought to the front, with nothing of the
// controller running in its loop, and no worker thread left behind. A window
// that cannot be made (the splash, a timer's window, the address label when
// the loop first shows the controller) says so; a start the platform refused
// names the reason its last error gives, with the path, in the system's
// language, and that reason is the exit status.
TEST(Startup, AFailureBeforeTheControllerRunsEndsItThroughOneErrorBox) {
  constexpr char kWindowNotMade[] = "kestron_tests: Error creating window";
  struct Row {
    const char* what;
    const char* failingClass;
    std::optional<DWORD> startError;  // none: the real start
    bool chinese;
    const char* says;  // somewhere in the box
    int status;
    bool companionStarted;
  };
  const Row rows[] = {
      {"the splash", "TForm2", std::nullopt, false, kWindowNotMade, 1, false},
      {"a timer's window", "TTimerWindow", std::nullopt, false, kWindowNotMade, 1, false},
      {"the address label", "TStaticText", std::nullopt, false, kWindowNotMade, 1, true},
      {"not found", nullptr, 2, false, "was not found", 2, false},
      {"access refused", nullptr, 5, false, "refused access", 5, false},
      {"blocked by policy", nullptr, 1260, false, "refused access", 1260, false},
      {"needs elevation", nullptr, 740, false, "administrator rights", 740, false},
      {"not a program", nullptr, 193, false, "not a program", 193, false},
      {"no reason left", nullptr, 0, false, "error code 0.", 1, false},
      {"another reason", nullptr, 1455, false, "error code 1455.", 1455, false},
      {"needs elevation, in Chinese", nullptr, 740, true,
       "\xB9\xDC\xC0\xED\xD4\xB1", 740, false},  // "管理员"
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    NoCompanionLeft noCompanion;
    InProcessLauncher launcher;
    std::optional<RefusedWindowClass> refused;
    std::optional<ImportHook<decltype(&::CreateProcessA)>> start;
    std::optional<ImportHook<decltype(&::GetACP)>> codePage;
    if (row.failingClass) refused.emplace(row.failingClass);
    if (row.startError) start.emplace("kernel32.dll", "CreateProcessA", RefusedCreateProcess);
    if (row.startError) g_startError = *row.startError;
    if (row.chinese) codePage.emplace("kernel32.dll", "GetACP", ChineseCodePage);

    EXPECT_EQ(RunKestron(), row.status);
    const auto& boxes = launcher.errorBoxes.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].shown.find(row.says), std::string::npos) << boxes[0].shown;
    if (row.startError) {
      EXPECT_NE(boxes[0].shown.find("\n" + BinFolder() + "Korvastel\n"), std::string::npos)
          << "the path tried";
    }
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_TRUE(boxes[0].style & MB_SETFOREGROUND) << "brought to the front";
    EXPECT_FALSE(boxes[0].timersRan) << "the controller ran inside the box";
    EXPECT_FALSE(IsWindowVisible(winsys::Application.Handle())) << "the box comes alone";
    EXPECT_EQ(Form2, nullptr) << "the splash would cover the box";
    EXPECT_EQ(GetProcessIdByExeName(CompanionExeName) != 0, row.companionStarted);
    EXPECT_TRUE(launcher.ThreadsEnded()) << "a worker thread was left behind";
  }
}

// A companion that needs administrator rights: the launcher asks once to
// start itself again elevated, from its own file and folder and as the user
// started it, and ends with no box; the elevated launcher starts the
// companion. Where the user declines, or the launcher is elevated already
// (it never asks again), the box says why.
TEST(Startup, ACompanionThatNeedsAdministratorRightsGetsAnElevatedLauncher) {
  const std::optional<WORD> show = OwnShowRequest();
  const std::string asked = "runas|" + BinFolder() + "kestron_tests.exe|(none)|" + BinFolder() +
                            "|" + std::to_string(show ? *show : SW_SHOWNORMAL);
  const struct {
    const char* what;
    bool elevated;
    DWORD declined;  // the last error of a declined prompt; 0: accepted
    bool asks;
    int status;
  } rows[] = {
      {"accepted", false, 0, true, 0},
      {"declined", false, ERROR_CANCELLED, true, 740},
      {"already elevated", true, 0, false, 740},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    NoCompanionLeft noCompanion;
    InProcessLauncher launcher;
    ImportHook<decltype(&::CreateProcessA)> start("kernel32.dll", "CreateProcessA",
                                                  RefusedCreateProcess);
    g_startError = 740;  // ERROR_ELEVATION_REQUIRED
    g_elevated = row.elevated;
    g_elevationDeclined = row.declined;
    EXPECT_EQ(RunKestron(), row.status);
    EXPECT_EQ(g_askedToElevate, row.asks ? asked : "");
    const std::vector<std::string> boxes = launcher.errorBoxes.Shown();
    ASSERT_EQ(boxes.size(), row.status ? 1u : 0u);
    if (row.status) {
      EXPECT_NE(boxes[0].find("administrator rights"), std::string::npos);
    }
    EXPECT_EQ(Form2, nullptr);
    EXPECT_TRUE(launcher.ThreadsEnded());
  }
}

// The user sees the vendor's title only until the companion's main window
// exists: it wears the brand before the start's wait is over, also while the
// companion keeps working after showing it, reads nothing for longer than
// one retitle waits, or stands a connection-failure box in front of it, in
// either language. The companion is started as a file of that exact name,
// with the show request the launcher itself was given. The start-up then records it and
// runs its rule set before the controller exists (its title written once
// more, with the splash gone from the screen first), and the ticks after it
// still find everything they need for an About box. Another program's main
// window with the companion's title is left alone.
TEST(Startup, RetitlesTheMainWindowWhileTheCompanionStarts) {
  const struct {
    const char* name;
    Language language;
    std::vector<std::pair<std::string, std::string>> env;
    bool aboutBox;     // the companion opens its About box after starting
    bool refuseHooks;  // the platform reports no window event: the watcher walks the windows
  } rows[] = {
      {"reading nothing for 300 ms after showing its window",
       kEnglish,
       {{"KORVASTEL_DEAF_MS", "300"}},
       false,
       false},
      {"busy",
       kEnglish,
       {{"KORVASTEL_BUSY_MS", "500"}, {"KORVASTEL_ABOUT_AFTER_MS", "800"}},
       true,
       false},
      {"Chinese connection-failure box", kChinese, {{"KORVASTEL_START", "connfail"}}, false, false},
      {"busy behind the connection-failure box, no window events",
       kEnglish,
       {{"KORVASTEL_BUSY_MS", "500"}, {"KORVASTEL_START", "connfail"}},
       false,
       true},
  };
  TempFolder folder("Kestron lookalike");
  folder.CopyIn(BinFolder() + "Korvastel", "Lookalike.exe");
  ChildProcess lookalike("\"" + folder.Path() + "Lookalike.exe\"");
  ASSERT_TRUE(StartCompanion(lookalike));
  HWND other = CompanionMainWindow(lookalike.Pid());
  for (const auto& row : rows) {
    NoCompanionLeft noCompanion;
    ScopedEnv env(row.env);
    ScopedEnv language({{std::string("KORVASTEL_LANG"), std::string(row.language.name)}});
    InProcessLauncher launcher;
    TempFolder reportFolder("Kestron start report");
    const std::string report = reportFolder.Path() + "report.txt";
    ScopedEnv reportTo({{std::string("KORVASTEL_REPORT"), report}});
    std::optional<RefusedWinEventHooks> refuse;
    if (row.refuseHooks) refuse.emplace();
    bool aboutHandled = false;
    const DWORD startMs = GetTickCount();
    // Runs in the launcher's loop; ends it once the row has seen what it waits for.
    winsys::TTimer watch(20, true, [&](winsys::TObject*) {
      HWND about = CompanionAboutBox(GetProcessIdByExeName(CompanionExeName));
      aboutHandled = about && WindowText(about) == BrandAboutEn &&
                     Form1->FLabelAbout.ParentWindow() == about && Form1->FLabelAbout.Handle() &&
                     Form1->Timer1.Enabled() && Form1->Timer3.Enabled() && OverlayOnScreen(about);
      if (aboutHandled || !row.aboutBox || GetTickCount() - startMs > 20000) Form1->Close();
    });
    EXPECT_EQ(RunKestron(), 0) << row.name;
    const std::string path = BinFolder() + "Korvastel";
    EXPECT_EQ(g_startedAs, path + "|\"" + path + "\"") << row.name;
    EXPECT_TRUE(HasLine(report, ShowRequestLine(OwnShowRequest())))
        << row.name << ": the launcher's own show request, never hidden:" << Contents(report);
    EXPECT_EQ(g_titleWhenStarted, row.language.mainBrand) << row.name;
    // Only the English main window hides the vendor's address.
    EXPECT_TRUE(g_atFirstShow.recorded &&
                g_atFirstShow.vendorAddressHidden == !row.language.chinese &&
                g_atFirstShow.descriptionCut)
        << row.name << ": recorded " << g_atFirstShow.recorded << ", address hidden "
        << g_atFirstShow.vendorAddressHidden << ", description cut "
        << g_atFirstShow.descriptionCut;
    EXPECT_EQ(g_brandsWrittenBeforeController, std::vector<std::string>{row.language.mainBrand})
        << row.name;
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
