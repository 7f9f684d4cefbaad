// Hours of use in a few minutes: the controller's real timers follow a
// companion through many About boxes and restarts, and leak nothing.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "lookup/uProcessIDWin.h"
#include "tests/companion/CompanionProtocol.h"
#include "tests/support/ImportHook.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/ufrmMain.h"

namespace {

struct Resources {
  DWORD gdi, user, handles;
  int windowDCs;
};

Resources Now(const WindowDCCount& dcs) {
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), handles, dcs.Outstanding()};
}

class Soak : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(KillProcessesNamed(CompanionExeName));
    MainCnWnd = MainEnWnd = AboutWnd = nullptr;
    Form1 = new TForm1();  // its timers run whenever this test waits
  }
  void TearDown() override {
    KillProcessesNamed(CompanionExeName);
    delete Form1;
    Form1 = nullptr;
    MainCnWnd = MainEnWnd = AboutWnd = nullptr;
  }
  WindowDCCount dcs_;
};

TEST_F(Soak, ManyAboutBoxesAndRestartsLeakNothing) {
  const std::string companion = "\"" + BinFolder() + "Korvastel\"";
  auto started = std::make_unique<ChildProcess>(companion);
  ASSERT_TRUE(StartCompanion(*started));
  ASSERT_TRUE(
      WaitUntil([&] { return WindowText(CompanionMainWindow(started->Pid())) == BrandMainEn; }));

  // One About box first, so that the baseline holds one About-box context.
  auto aboutCycle = [&](DWORD pid) {
    SendCompanionCommand(pid, kCmdOpenAbout);
    HWND about = nullptr;
    const bool relabelled = WaitUntil([&] {
      about = CompanionAboutBox(pid);
      return about && WindowText(about) == BrandAboutEn && Form1->FLabelAbout.Handle() &&
             GetParent(Form1->FLabelAbout.Handle()) == about;
    });
    SendCompanionCommand(pid, kCmdCloseAbout);
    WaitUntil([&] { return CompanionAboutBox(pid) == nullptr; });
    return relabelled;
  };
  ASSERT_TRUE(aboutCycle(started->Pid()));
  PumpMessages(100);
  const Resources before = Now(dcs_);

  int relabelled = 0;
  const int cycles = 300;
  for (int i = 0; i < cycles; ++i) relabelled += aboutCycle(started->Pid());
  EXPECT_EQ(relabelled, cycles) << "every About box is relabelled";

  for (int restart = 0; restart < 20; ++restart) {
    started.reset();  // ends the companion
    started = std::make_unique<ChildProcess>(companion);
    ASSERT_TRUE(StartCompanion(*started)) << restart;
    EXPECT_TRUE(WaitUntil([&] {
      return WindowText(CompanionMainWindow(started->Pid())) == BrandMainEn;
    })) << restart;
    EXPECT_TRUE(Form1->Timer1.Enabled()) << "the controller stopped early at restart " << restart;
  }
  EXPECT_TRUE(aboutCycle(started->Pid()));
  PumpMessages(100);

  const Resources after = Now(dcs_);
  std::printf(
      "GDI objects %lu -> %lu, user objects %lu -> %lu, handles %lu -> %lu, "
      "window DCs %d -> %d\n",
      before.gdi, after.gdi, before.user, after.user, before.handles, after.handles,
      before.windowDCs, after.windowDCs);
  EXPECT_EQ(after.windowDCs, before.windowDCs);
  EXPECT_LE(after.gdi, before.gdi + 8);
  EXPECT_LE(after.user, before.user + 8);
  EXPECT_LE(after.handles, before.handles + 8);
}

}  // namespace
