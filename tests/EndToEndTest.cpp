// The real launcher beside the stand-in companion, watched from outside as a
// user would see it.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "lookup/uProcessIDWin.h"
#include "tests/support/TestSupport.h"
#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "winsys/Timer.h"

namespace {

constexpr DWORD kExitBoundMs = 60000;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(KillProcessesNamed(CompanionExeName));
    ASSERT_TRUE(KillProcessesNamed("Kestron.exe"));
    folder_.CopyIn(BinFolder() + "Kestron.exe", "Kestron.exe");
    folder_.CopyIn(BinFolder() + "Korvastel", "Korvastel");
  }
  void TearDown() override {
    KillProcessesNamed(CompanionExeName);
    launcher_.reset();
  }

  // Starts the launcher; the companion shows `language` ("cn" or "en") and
  // starts as KORVASTEL_START says.
  void Launch(const std::string& language = "en", const std::string& start = "") {
    // The companion reports its windows as Windows would: the launcher's
    // window-event path runs beside its poll, as it does for users.
    ScopedEnv env({{std::string("KORVASTEL_LANG"), language},
                   {std::string("KORVASTEL_START"), start},
                   {std::string("KORVASTEL_WINDOWS_EVENTS"), std::string("1")}});
    launcher_ =
        std::make_unique<ChildProcess>("\"" + folder_.Path() + "Kestron.exe\"", folder_.Path());
    ASSERT_TRUE(launcher_->Started());
  }
  DWORD WaitForCompanion() {
    DWORD pid = 0;
    WaitUntil([&] {
      return (pid = GetProcessIdByExeName(CompanionExeName)) != 0 &&
             CompanionMainWindow(pid) != nullptr;
    });
    return pid;
  }
  // Processes messages until `done` holds, counting the periods of a 5 ms timer
  // meanwhile: the launcher's poll tick gets the same period from the platform.
  int TicksUntil(const std::function<bool(int ticks)>& done) {
    int ticks = 0;
    winsys::TTimer timer(5, true, [&](winsys::TObject*) { ++ticks; });
    WaitUntil([&] { return done(ticks); }, kExitBoundMs);
    return ticks;
  }
  bool LauncherOutOfSight() {
    for (HWND wnd : TopWindowsOf(launcher_->Pid()))
      if (IsWindowVisible(wnd)) return false;
    return true;
  }

  TempFolder folder_{"Kestron e2e"};
  std::unique_ptr<ChildProcess> launcher_;
};

class MainWindow : public EndToEnd {
 protected:
  void Check(const char* language, const char* brand) {
    Launch(language);
    const DWORD pid = WaitForCompanion();
    ASSERT_NE(pid, 0u);
    HWND main = CompanionMainWindow(pid);
    EXPECT_TRUE(WaitForText(main, brand));
    if (TextEquals(brand, BrandMainEn)) {  // only the English main window hides it
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(GetDlgItem(main, kIdVendorAddress)); }));
    }
    HWND description = GetDlgItem(main, kIdDescription);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(description, EM_GETLINECOUNT, 0, 0) <= 10; }))
        << "the long description is cut";
    EXPECT_TRUE(WaitUntil([&] { return TopWindowOfClass(launcher_->Pid(), "TForm2") == nullptr; }))
        << "the splash is freed";
    EXPECT_TRUE(WaitUntil([&] { return LauncherOutOfSight(); }))
        << "no launcher window stays visible";
  }
};
using MainWindowCp936 = MainWindow;

TEST_F(MainWindow, EnglishIsRelabelledAndTheLauncherStaysOutOfSight) { Check("en", BrandMainEn); }
TEST_F(MainWindowCp936, ChineseIsRelabelledAndTheLauncherStaysOutOfSight) {
  Check("cn", BrandMainCn);
}

class ConnectionFailure : public EndToEnd {
 protected:
  void Check(const char* language, const char* brand) {
    Launch(language, "connfail");
    const DWORD pid = WaitForCompanion();
    ASSERT_NE(pid, 0u);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      box = TopWindowOfClass(pid, "#32770");
      return box && IsWindowVisible(box);
    }));
    EXPECT_TRUE(WaitForText(CompanionMainWindow(pid), brand));
    EXPECT_TRUE(IsWindowVisible(box)) << "retitled while the box is still up";
  }
};
using ConnectionFailureCp936 = ConnectionFailure;

TEST_F(ConnectionFailure, EnglishMainWindowIsRetitledBehindTheBox) { Check("en", BrandMainEn); }
TEST_F(ConnectionFailureCp936, ChineseMainWindowIsRetitledBehindTheBox) {
  Check("cn", BrandMainCn);
}

HWND ChildWhere(HWND parent, const std::function<bool(HWND)>& match) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (match(c)) return c;
  return nullptr;
}

HWND ChildWithText(HWND parent, const std::string& text) {
  return ChildWhere(parent, [&](HWND c) { return WindowText(c) == text; });
}

// The launcher's label; its class is the launcher's own, unknown to this process.
HWND AddressLabel(HWND parent) {
  return ChildWhere(parent, [](HWND c) {
    char cls[64] = {};
    GetClassNameA(c, cls, sizeof cls);
    return std::string(cls) == "TStaticText";
  });
}

class AboutBox : public EndToEnd {
 protected:
  // The user opens the About box from the relabelled main window, twice.
  void Check(const char* language, const char* mainBrand, const char* brand) {
    Launch(language);
    const DWORD pid = WaitForCompanion();
    ASSERT_NE(pid, 0u);
    ASSERT_TRUE(WaitForText(CompanionMainWindow(pid), mainBrand));
    ASSERT_TRUE(WaitUntil([&] { return TopWindowOfClass(launcher_->Pid(), "TForm2") == nullptr; }));
    for (int opening = 1; opening <= 2; ++opening) {
      SCOPED_TRACE("About box opened " + std::to_string(opening) + " times");
      EXPECT_TRUE(WithAboutBox(pid, [&](HWND about) {
        CheckAbout(about, brand);
        return true;
      }));
    }
  }
  void CheckAbout(HWND about, const char* brand) {
    EXPECT_TRUE(WaitForText(about, brand));
    // The walk runs in the launcher while this test looks: wait for its last control.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(GetDlgItem(about, kIdAboutEmail)); }));
    HWND vendor = GetDlgItem(about, kIdAboutVendorAddress);
    EXPECT_FALSE(IsWindowVisible(vendor));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(about, kIdAboutPicture)));
    EXPECT_FALSE(IsWindowVisible(ChildWithText(about, VendorWebAddress2)));
    EXPECT_FALSE(IsWindowVisible(ChildWithText(about, DesignerName)));
    EXPECT_NE(ChildWithText(about, BrandProduct), nullptr);
    EXPECT_NE(ChildWithText(about, BrandCompany), nullptr);

    HWND label = AddressLabel(about);
    ASSERT_NE(label, nullptr) << "the launcher's address label is in the box";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(label); }));
    EXPECT_EQ(WindowText(label), OwnWebAddress);
    RECT r1, r2;
    GetWindowRect(vendor, &r1);
    GetWindowRect(about, &r2);
    POINT at{0, 0};
    MapWindowPoints(label, about, &at, 1);
    EXPECT_EQ(at.x, r1.left - r2.left - 3);
    EXPECT_EQ(at.y, r1.top - r2.top - 30);
    EXPECT_TRUE(WaitUntil([&] { return OverlayOnScreen(about); }))
        << "the overlay picture is painted at the box's client origin";
  }
};
using AboutBoxCp936 = AboutBox;

TEST_F(AboutBox, EnglishIsRelabelledAndPaintedEachTimeItOpens) {
  Check("en", BrandMainEn, BrandAboutEn);
}
TEST_F(AboutBoxCp936, ChineseIsRelabelledAndPaintedEachTimeItOpens) {
  Check("cn", BrandMainCn, BrandAboutCn);
}

TEST_F(EndToEnd, LauncherEndsSoonAfterTheCompanionExits) {
  Launch();
  const DWORD pid = WaitForCompanion();
  ASSERT_NE(pid, 0u);
  ASSERT_TRUE(WaitForText(CompanionMainWindow(pid), BrandMainEn));
  SendCompanionCommand(pid, kCmdExit);
  const int ticks = TicksUntil([&](int) { return !launcher_->Running(); });
  EXPECT_EQ(GetProcessIdByExeName(CompanionExeName), 0u);
  DWORD status = 1;
  ASSERT_TRUE(launcher_->WaitExit(0, &status)) << "the launcher did not end";
  EXPECT_EQ(status, 0u);
  // 201 missed ticks; on a busy machine the launcher's ticks come late, never early.
  EXPECT_GE(ticks, 180);
  EXPECT_LE(ticks, 500);
  std::printf("launcher ended %d timer periods after the companion\n", ticks);
}

// A companion that cannot be started: one error box with the path and the
// reason, no controller, and the platform's reason as the exit status. The
// reasons Wine never gives are rows of Startup.AFailureBeforeTheControllerRuns...
struct StartFailureCase {
  const char* what;
  const char* companionBytes;  // the file named Korvastel; nullptr: no such file
  DWORD status;
  const char* heading;  // followed by the path tried, then the reason
  const char* reason;
};

constexpr char kHeadingEn[] = "Kestron could not start the programmer software:";
constexpr char kNotFoundEn[] =
    "The file was not found. Put Kestron.exe in the folder that holds Korvastel.";

class StartFailure : public EndToEnd {
 protected:
  void Check(const StartFailureCase& c) {
    SCOPED_TRACE(c.what);
    folder_.Remove("Korvastel");
    if (c.companionBytes) {
      std::FILE* f = std::fopen((folder_.Path() + "Korvastel").c_str(), "wb");
      ASSERT_NE(f, nullptr);
      std::fputs(c.companionBytes, f);
      std::fclose(f);
    }
    Launch();
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      return (box = TopWindowOfClass(launcher_->Pid(), "#32770")) != nullptr &&
             IsWindowVisible(box);
    })) << "no error box";
    EXPECT_EQ(WindowText(box), "KESTRON V1.0");
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)),
              std::string(c.heading) + "\n" + folder_.Path() + "Korvastel\n\n" + c.reason);
    EXPECT_EQ(TopWindowOfClass(launcher_->Pid(), "TForm2"), nullptr) << "the splash is gone";
    EXPECT_EQ(TopWindowOfClass(launcher_->Pid(), "TForm1"), nullptr) << "no controller form";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD status = 0;
    ASSERT_TRUE(launcher_->WaitExit(1000, &status)) << "closing the box ends the launcher";
    EXPECT_EQ(status, c.status);
  }
};
using StartFailureCp936 = StartFailure;

TEST_F(StartFailure, IsShownInEnglishAndEndsWithTheReasonAsStatus) {
  const StartFailureCase cases[] = {
      {"companion missing", nullptr, 2, kHeadingEn, kNotFoundEn},
      // The start call says 11; the last error it leaves says why: 193.
      {"a text file named Korvastel", "not a program\r\n", 193, kHeadingEn,
       "Windows cannot start this file: it is not a program this system can run."},
  };
  for (const auto& c : cases) Check(c);
}

TEST_F(StartFailureCp936, IsShownInChineseAsGbkBytes) {
  Check(
      {"companion missing", nullptr, 2,
       // "Kestron 无法启动编程器软件："
       "Kestron \xCE\xDE\xB7\xA8\xC6\xF4\xB6\xAF\xB1\xE0\xB3\xCC\xC6\xF7\xC8\xED\xBC\xFE\xA3\xBA",
       // "找不到这个文件。请把 Kestron.exe 放到 Korvastel 所在的文件夹里。"
       "\xD5\xD2\xB2\xBB\xB5\xBD\xD5\xE2\xB8\xF6\xCE\xC4\xBC\xFE\xA1\xA3\xC7\xEB\xB0\xD1 Kestron.exe "
       "\xB7\xC5\xB5\xBD Korvastel \xCB\xF9\xD4\xDA\xB5\xC4\xCE\xC4\xBC\xFE\xBC\xD0\xC0\xEF\xA1\xA3"});
}

TEST_F(EndToEnd, RestartedCompanionIsFollowed) {
  Launch();
  DWORD pid = WaitForCompanion();
  ASSERT_NE(pid, 0u);
  ASSERT_TRUE(WaitForText(CompanionMainWindow(pid), BrandMainEn));
  for (int restart = 0; restart < 3; ++restart) {
    KillProcessesNamed(CompanionExeName);
    // Three absences of over 80 ticks: unless each return starts the count
    // again, they add up to more than 201 missed ticks.
    TicksUntil([](int ticks) { return ticks >= 80; });
    ASSERT_TRUE(launcher_->Running()) << "ended during absence " << restart;
    ChildProcess again(CompanionCommand(folder_.Path()), folder_.Path());
    ASSERT_TRUE(StartCompanion(again));
    EXPECT_TRUE(WaitForText(CompanionMainWindow(again.Pid()), BrandMainEn)) << restart;
  }
}

}  // namespace
