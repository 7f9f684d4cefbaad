// The controller re-labels a companion window as soon as the companion reports
// it, without waiting for the poll: each test stops the poll tick first, so
// only a report can have done the work. The stand-in raises the show and
// rename reports Windows raises by itself; Wine 8 raises only the creation.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "lookup/uProcessIDWin.h"
#include "tests/support/ControllerFixture.h"
#include "tests/support/ImportHook.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Win32Processes.h"

namespace {

constexpr DWORD kRelabelBoundMs = 3000;
// A pass, where one comes, comes within tens of milliseconds of the report:
// nothing in this long means none will.
constexpr DWORD kNoRelabelMs = 500;

// Snapshots taken through the launcher's process lookup: one per poll tick.
int g_snapshots = 0;
HANDLE WINAPI CountedSnapshot(DWORD flags, DWORD pid) {
  ++g_snapshots;
  return CreateToolhelp32Snapshot(flags, pid);
}
FARPROC CountingLookup(const char* name) {
  if (std::string(name) == "CreateToolhelp32Snapshot")
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(CountedSnapshot));
  return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

class WindowEvents : public LiveControllerTest {
 protected:
  void SetUp() override {
    LiveControllerTest::SetUp();
    winsys::seam::SetKernelProcLookup(CountingLookup);
  }
  void TearDown() override {
    LiveControllerTest::TearDown();
    winsys::seam::SetKernelProcLookup(nullptr);
  }
  // Opens the About box and tells whether it got the brand, then closes it.
  static bool AboutRelabelled(DWORD pid, DWORD withinMs = kRelabelBoundMs) {
    return WithAboutBox(pid,
                        [=](HWND about) { return WaitForText(about, BrandAboutEn, withinMs); });
  }
};

TEST_F(WindowEvents, AboutBoxesAreRelabelledWithThePollStopped) {
  const DWORD pid = StartRelabelled();
  ASSERT_NE(pid, 0u);
  StopPoll();
  for (int opening = 1; opening <= 3; ++opening) EXPECT_TRUE(AboutRelabelled(pid)) << opening;
}

TEST_F(WindowEvents, ARestartedCompanionIsFollowedByANewHook) {
  ASSERT_NE(StartRelabelled(), 0u);
  KillProcessesNamed(CompanionExeName);
  auto restarted = Companion({{"KORVASTEL_START_DELAY_MS", "600"}});  // its window comes later
  ASSERT_TRUE(
      WaitUntil([&] { return GetProcessIdByExeName(CompanionExeName) == restarted->Pid(); }));
  const int snapshots = g_snapshots;
  ASSERT_TRUE(WaitUntil([&] { return g_snapshots > snapshots + 2; })) << "the poll saw it";
  StopPoll();
  ASSERT_TRUE(StartCompanion(*restarted));
  EXPECT_TRUE(WaitForText(CompanionMainWindow(restarted->Pid()), BrandMainEn, kRelabelBoundMs));
}

// Window walks of the launcher's window lookup: one per tick or pass.
int g_windowWalks = 0;
decltype(&::EnumWindows) g_enumWindows = nullptr;
BOOL WINAPI CountedEnumWindows(WNDENUMPROC proc, LPARAM context) {
  ++g_windowWalks;
  return g_enumWindows(proc, context);
}

TEST_F(WindowEvents, ARenamingStormCostsFewerPassesThanRenamesAndBlocksNothing) {
  ImportHook<decltype(&::EnumWindows)> count("user32.dll", "EnumWindows", CountedEnumWindows);
  g_enumWindows = count.Original();
  const DWORD pid = StartRelabelled();
  ASSERT_NE(pid, 0u);
  StopPoll();
  constexpr int kRenames = 300;
  SendCompanionCommand(pid, kCmdRenameBurst, kRenames);
  const int before = g_windowWalks;  // reports are taken only while this thread waits
  HWND main = CompanionMainWindow(pid);
  ASSERT_TRUE(WaitUntil([&] {
    const std::string title = WindowText(main);
    return title.size() > 4 && title.substr(title.size() - 4) == " 300";
  }));
  PumpMessages(200);
  const int passes = g_windowWalks - before;
  EXPECT_GT(passes, 0) << "renames of the companion's window ask for passes";
  EXPECT_LT(passes, kRenames / 3) << "a burst of reports runs few passes";
  EXPECT_TRUE(AboutRelabelled(pid)) << "the controller still answers at once";
}

// With the poll and the re-application pass stopped, only a control's own
// report can take away what the companion puts back; a control no rule
// touches, and the texts the launcher writes itself, cost no write.
TEST_F(WindowEvents, ControlsAreRelabelledOnTheirOwnReportAndItsOwnWritesEndThere) {
  TempFolder folder("Kestron control reports");
  const std::string report = folder.Path() + "report.txt";
  const DWORD pid = StartRelabelled({{"KORVASTEL_REPORT", report}});
  ASSERT_NE(pid, 0u);
  StopPoll();
  Form1->Timer3.SetEnabled(false);
  HWND main = CompanionMainWindow(pid);
  HWND address = GetDlgItem(main, kIdVendorAddress);
  HWND description = GetDlgItem(main, kIdDescription);
  ASSERT_TRUE(WaitUntil([&] {
    return !IsWindowVisible(address) && SendMessageA(description, EM_GETLINECOUNT, 0, 0) <= 10;
  })) << "the first pass applied the main window's rules";

  struct Row {
    int command;
    const char* done;  // the companion's stamp once it has put the text back
    std::function<bool()> relabelled;
  };
  const Row rows[] = {
      {kCmdShowVendorAddressAgain, "address-back", [&] { return !IsWindowVisible(address); }},
      {kCmdPutLongTextBack, "text-back",
       [&] { return SendMessageA(description, EM_GETLINECOUNT, 0, 0) <= 10; }},
  };
  for (const Row& row : rows) {
    SendCompanionCommand(pid, row.command);
    ASSERT_TRUE(WaitUntil([&] { return Stamps(report, row.done) == 1; })) << row.done;
    EXPECT_TRUE(WaitUntil(row.relabelled, kRelabelBoundMs)) << row.done;
  }

  // More lines than the rules allow, but nothing past the cut's first
  // character: no cut is made, so no report of one brings the rule back.
  const std::string cut = "cut " + std::to_string(kIdDescription);
  const int cuts = Stamps(report, cut);
  SetWindowTextA(description, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12");
  PumpMessages(kNoRelabelMs);
  EXPECT_EQ(Stamps(report, cut), cuts) << "an empty cut of a short text of many lines";

  SendCompanionCommand(pid, kCmdWriteLog, 50);
  ASSERT_TRUE(WaitUntil([&] { return GetDlgItem(main, kIdLog) != nullptr; }));
  EXPECT_TRUE(AboutRelabelled(pid));
  PumpMessages(kNoRelabelMs);
  for (const char* change : {"settext ", "cut ", "hidden "})
    EXPECT_EQ(Stamps(report, change + std::to_string(kIdLog)), 0) << change << "of the log control";
  EXPECT_EQ(Stamps(report, "settext 0"), 2)
      << "the About box's product and company texts are written once each";
}

TEST_F(WindowEvents, WhereTheHookIsRefusedThePollDoesItAll) {
  RefusedWinEventHooks refuse;
  const DWORD pid = StartRelabelled();
  ASSERT_NE(pid, 0u);
  EXPECT_GT(refuse.Requests(), 0);
  EXPECT_TRUE(AboutRelabelled(pid));
  StopPoll();
  EXPECT_FALSE(AboutRelabelled(pid, kNoRelabelMs))
      << "with the poll stopped nothing else re-labels";
}

}  // namespace
