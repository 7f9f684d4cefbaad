#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "lookup/uProcessIDWin.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "winsys/Win32Windows.h"
#include "winsys/Win32Processes.h"

namespace {

class Lookup : public ::testing::Test {
 protected:
  NoCompanionLeft noCompanion_;
};

// The lookup compares the process list's executable names byte for byte:
// asked of this test program, whose name is known, no companion needed.
TEST_F(Lookup, FindsAProcessOnlyByItsExactExeName) {
  EXPECT_EQ(GetProcessIdByExeName(CompanionExeName), 0u) << "no companion is running";
  struct Case {
    const char* name;
    bool found;
  };
  for (const Case& c : {Case{"kestron_tests.exe", true}, Case{"kestron_tests", false},
                        Case{"KESTRON_TESTS.EXE", false}, Case{"Kestron_tests.exe", false},
                        Case{"kestron_tests.exe ", false}})
    EXPECT_EQ(GetProcessIdByExeName(c.name), c.found ? GetCurrentProcessId() : 0u) << c.name;
}

// Without any one of the tool-help functions there is no process list, and no crash.
TEST(ProcessLookup, AnyMissingToolHelpFunctionGivesNoProcess) {
  // The first process in the list: the one a lookup without Process32Next would still see.
  const std::string first = RunningProcesses().at(0).szExeFile;
  ASSERT_NE(GetProcessIdByExeName(first), 0u);
  for (const char* missing : {"CreateToolhelp32Snapshot", "Process32First", "Process32Next"}) {
    static const char* s_missing;
    s_missing = missing;
    winsys::seam::SetKernelProcLookup([](const char* name) -> FARPROC {
      if (std::string(name) == s_missing) return nullptr;
      return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
    });
    const DWORD found = GetProcessIdByExeName(first);
    winsys::seam::SetKernelProcLookup(nullptr);
    EXPECT_EQ(found, 0u) << missing;
  }
  EXPECT_EQ(GetProcessIdByExeName("kestron_tests.exe"), GetCurrentProcessId());
}

// The session the platform answers for one process: another than this
// program's, or none (the look-up failed).
DWORD g_otherSessionPid;
bool g_sessionUnknown;
BOOL WINAPI AnsweredSession(DWORD pid, DWORD* session) {
  if (pid != g_otherSessionPid) return ProcessIdToSessionId(pid, session);
  if (g_sessionUnknown) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  ProcessIdToSessionId(GetCurrentProcessId(), session);
  *session += 1;
  return TRUE;
}
FARPROC SessionAnsweringLookup(const char* name) {
  if (std::string(name) == "ProcessIdToSessionId")
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(AnsweredSession));
  return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

// The first companion in the list is found; where it runs in another user's
// session (fast user switching, Remote Desktop), or its session is unknown,
// the next one, of this session, is.
TEST_F(Lookup, TwoCompanionsGiveOneOfThisSessionThenTheOther) {
  ChildProcess first(CompanionCommand());
  ChildProcess second(CompanionCommand());
  ASSERT_TRUE(StartCompanion(first));
  ASSERT_TRUE(StartCompanion(second));
  const DWORD found = GetProcessIdByExeName(CompanionExeName);
  ASSERT_TRUE(found == first.Pid() || found == second.Pid());
  ChildProcess& other = found == first.Pid() ? second : first;
  winsys::seam::SetKernelProcLookup(SessionAnsweringLookup);
  g_otherSessionPid = found;
  for (bool unknown : {false, true}) {
    g_sessionUnknown = unknown;
    EXPECT_EQ(GetProcessIdByExeName(CompanionExeName), other.Pid())
        << (unknown ? "a session the platform does not tell" : "another session");
  }
  winsys::seam::SetKernelProcLookup(nullptr);
  (found == first.Pid() ? first : second).Kill();
  EXPECT_EQ(GetProcessIdByExeName(CompanionExeName), other.Pid()) << "the one left is found";
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
    ChildProcess process(CompanionCommand());
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

}  // namespace
