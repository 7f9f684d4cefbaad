// Hours of use in a short time: the controller's real timers follow a
// companion through many About boxes and restarts, and leak nothing. Every
// suite runs it short, at a length where one object left behind per About
// box or restart shows; tools/test.sh runs the long form
// (KESTRON_SOAK=long) once.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/ControllerFixture.h"
#include "tests/support/ImportHook.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/ufrmMain.h"

namespace {

// What may grow meanwhile without a leak: Wine allocates some objects lazily.
constexpr DWORD kSlack = 8;

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

bool Long() {
  const char* soak = std::getenv("KESTRON_SOAK");
  return soak && std::string(soak) == "long";
}

using Soak = LiveControllerTest;

TEST_F(Soak, ManyAboutBoxesAndRestartsLeakNothing) {
  // More of each than the slack: one object per box or restart fails.
  const int aboutBoxes = Long() ? 300 : 2 * kSlack;
  const int restarts = Long() ? 20 : kSlack + 1;
  WindowDCCount dcs;
  DWORD pid = StartRelabelled();
  ASSERT_NE(pid, 0u);
  auto relabelled = [](HWND about) {
    return WaitForText(about, BrandAboutEn) && WaitUntil([&] {
             return Form1->FLabelAbout.Handle() && GetParent(Form1->FLabelAbout.Handle()) == about;
           });
  };
  // One About box first, so that the baseline holds one About-box context.
  ASSERT_TRUE(WithAboutBox(pid, relabelled));
  PumpMessages(100);
  const Resources before = Now(dcs);

  int done = 0;
  for (int i = 0; i < aboutBoxes; ++i) done += WithAboutBox(pid, relabelled);
  EXPECT_EQ(done, aboutBoxes) << "every About box is relabelled";
  for (int restart = 0; restart < restarts; ++restart) {
    companion_.reset();  // ends the companion
    companion_ = Companion();
    ASSERT_TRUE(StartCompanion(*companion_)) << restart;
    pid = companion_->Pid();
    EXPECT_TRUE(WaitForText(CompanionMainWindow(pid), BrandMainEn)) << restart;
    EXPECT_TRUE(Form1->Timer1.Enabled()) << "the controller stopped early at restart " << restart;
  }
  EXPECT_TRUE(WithAboutBox(pid, relabelled));
  PumpMessages(100);

  const Resources after = Now(dcs);
  std::printf(
      "%d About boxes, %d restarts: GDI objects %lu -> %lu, user objects %lu -> %lu, "
      "handles %lu -> %lu, window DCs %d -> %d\n",
      aboutBoxes, restarts, before.gdi, after.gdi, before.user, after.user, before.handles,
      after.handles, before.windowDCs, after.windowDCs);
  EXPECT_EQ(after.windowDCs, before.windowDCs);
  EXPECT_LE(after.gdi, before.gdi + kSlack);
  EXPECT_LE(after.user, before.user + kSlack);
  EXPECT_LE(after.handles, before.handles + kSlack);
}

}  // namespace
