#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/Startup.h"
#include "lookup/uProcessIDWin.h"
#include "tests/support/TestSupport.h"
#include "ui/uShowTop.h"

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

TEST(Splash, RepaintDrawsThePictureAtItsNaturalSize) {
  Form2 = new TForm2();
  Form2->Show();
  Form2->Timer1Timer(nullptr);
  EXPECT_TRUE(ShowsPicture(Form2->Handle(), {0, 0}, "SPLASH", 452, 308));
  FreeSplash();
}

}  // namespace
