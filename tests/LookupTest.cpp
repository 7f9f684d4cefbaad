#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "lookup/uProcessIDWin.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "winsys/Win32.h"

namespace {

class Lookup : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(KillProcessesNamed(CompanionExeName)); }
  void TearDown() override { KillProcessesNamed(CompanionExeName); }
};

TEST_F(Lookup, FindsTheCompanionOnlyByItsExactName) {
  EXPECT_EQ(GetProcessIdByExeName(CompanionExeName), 0u) << "no companion is running";
  TempFolder folder("Kestron lookup");
  struct Case {
    const char* file;
    bool found;
  };
  for (const Case& c : {Case{"Korvastel", true}, Case{"korvastel", false}, Case{"KORVASTEL", false},
                        Case{"Korvastel.exe", false}}) {
    folder.CopyIn(BinFolder() + "Korvastel", c.file);
    ChildProcess process("\"" + folder.Path() + c.file + "\"");
    ASSERT_TRUE(StartCompanion(process)) << c.file;
    EXPECT_EQ(GetProcessIdByExeName(CompanionExeName), c.found ? process.Pid() : 0u) << c.file;
    process.Kill();
    folder.Remove(c.file);
  }
}

TEST_F(Lookup, TwoCompanionsGiveTheFirstInSnapshotOrderEveryTime) {
  ChildProcess first("\"" + BinFolder() + "Korvastel\"");
  ChildProcess second("\"" + BinFolder() + "Korvastel\"");
  ASSERT_TRUE(StartCompanion(first));
  ASSERT_TRUE(StartCompanion(second));
  const DWORD found = GetProcessIdByExeName(CompanionExeName);
  EXPECT_TRUE(found == first.Pid() || found == second.Pid());
  EXPECT_EQ(found, ProcessIdsNamed(CompanionExeName).front());
  for (int i = 0; i < 20; ++i) ASSERT_EQ(GetProcessIdByExeName(CompanionExeName), found);
}

TEST_F(Lookup, ReturnsTheForemostVisibleEnabledWindowOrNone) {
  EXPECT_EQ(FindProcessWindow(0), nullptr);
  struct Case {
    const char* start;
    const char* expectedClass;
  };
  const Case cases[] = {
      {"", "KorvastelMain"},       {"hidden", nullptr}, {"disabled", nullptr},
      {"about", "KorvastelAbout"},  // the modal box, not the disabled main window
      {"connfail", "#32770"},
  };
  for (const Case& c : cases) {
    ScopedEnv env({{std::string("KORVASTEL_START"), std::string(c.start)}});
    ChildProcess process("\"" + BinFolder() + "Korvastel\"");
    ASSERT_TRUE(StartCompanion(process)) << c.start;
    if (c.expectedClass) {
      EXPECT_TRUE(WaitUntil([&] {
        HWND wnd = FindProcessWindow(process.Pid());
        return wnd && winsys::GetClassNameA(wnd) == c.expectedClass;
      })) << c.start;
    } else {
      PumpMessages(200);
      EXPECT_EQ(FindProcessWindow(process.Pid()), nullptr) << c.start;
    }
    process.Kill();
  }
}

TEST_F(Lookup, MissingSnapshotFunctionsGiveNoCompanion) {
  ChildProcess process("\"" + BinFolder() + "Korvastel\"");
  ASSERT_TRUE(StartCompanion(process));
  winsys::seam::SetKernelProcLookup([](const char*) -> FARPROC { return nullptr; });
  const DWORD found = GetProcessIdByExeName(CompanionExeName);
  winsys::seam::SetKernelProcLookup(nullptr);
  EXPECT_EQ(found, 0u);
  EXPECT_EQ(GetProcessIdByExeName(CompanionExeName), process.Pid());
}

}  // namespace
