#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "lookup/uProcessIDWin.h"
#include "winsys/Win32.h"

namespace {

HWND CreateTestWindow(const char* className, const std::string& title) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, title.c_str(), WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

TEST(WindowTexts, AreCutToTheirMaximumsCountingTheNul) {
  HWND wnd = CreateTestWindow("KestronTestWindow", std::string(300, 't'));
  ASSERT_NE(wnd, nullptr);
  EXPECT_EQ(winsys::GetWindowTextA(wnd), std::string(199, 't'));
  winsys::SetWindowTextA(wnd, "short");
  EXPECT_EQ(winsys::GetWindowTextA(wnd), "short");
  DestroyWindow(wnd);

  const std::string longClass(120, 'C');
  HWND classed = CreateTestWindow(longClass.c_str(), "x");
  ASSERT_NE(classed, nullptr);
  EXPECT_EQ(winsys::GetClassNameA(classed), std::string(99, 'C'));
  DestroyWindow(classed);
}

TEST(ProcessSnapshot, ListsThisProcessUnderItsExeName) {
  EXPECT_EQ(GetProcessIdByExeName("kestron_tests.exe"), GetCurrentProcessId());
  EXPECT_EQ(GetProcessIdByExeName("kestron_tests"), 0u);
  EXPECT_EQ(GetProcessIdByExeName("KESTRON_TESTS.EXE"), 0u);
}

// The first process in the list: the one a lookup without Process32Next would still see.
std::string FirstProcessName() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  const std::string name = Process32First(snapshot, &entry) ? entry.szExeFile : "";
  CloseHandle(snapshot);
  return name;
}

TEST(ProcessSnapshot, AnyMissingToolhelpFunctionGivesNoProcesses) {
  const std::string first = FirstProcessName();
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

TEST(WindowWalks, CarryAFailureOutAfterThePlatformReturns) {
  HWND parent = CreateTestWindow("KestronWalkParent", "parent");
  for (int i = 0; i < 3; ++i)
    CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
  static int s_visits;
  s_visits = 0;
  auto failOnFirst = [](HWND, LPARAM) -> bool {
    ++s_visits;
    throw std::runtime_error("walk failed");
  };
  EXPECT_THROW(winsys::EnumChildWindows(parent, failOnFirst, 0), std::runtime_error);
  EXPECT_EQ(s_visits, 1) << "the walk must end at the failure";

  s_visits = 0;
  winsys::EnumChildWindows(
      parent, [](HWND, LPARAM) { return ++s_visits < 100; }, 0);
  EXPECT_EQ(s_visits, 3);
  DestroyWindow(parent);
}

}  // namespace
