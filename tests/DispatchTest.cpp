#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/ControllerAccess.h"
#include "tests/support/ControllerFixture.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"
#include "winsys/Handles.h"

namespace {

using Dispatch = ControllerTest;
using DispatchCp936 = ControllerTest;
using PollTick = ControllerTest;

size_t WalksOf(HWND parent) {
  return std::count(ControllerTest::walks.begin(), ControllerTest::walks.end(), parent);
}

std::vector<LONG> Bounds(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The icons the dispatch hands to windows, watched at this program's import
// table as they are sent: under Wine the companion's windows never see them.
struct SentIcon {
  HWND wnd;
  WPARAM which;
  HICON icon;
  UINT timeoutMs;
};
std::vector<SentIcon> g_sentIcons;
decltype(&::SendMessageTimeoutA) g_sendMessageTimeout;

LRESULT WINAPI WatchedSendMessageTimeout(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT flags, UINT timeoutMs, PDWORD_PTR result) {
  if (msg == WM_SETICON)
    g_sentIcons.push_back({wnd, wParam, reinterpret_cast<HICON>(lParam), timeoutMs});
  return g_sendMessageTimeout(wnd, msg, wParam, lParam, flags, timeoutMs, result);
}

// An icon's size and colour pixels; 0 x 0 for a handle that is no icon (any more).
struct IconPicture {
  LONG width = 0, height = 0;
  std::vector<DWORD> pixels;
};

IconPicture PictureOf(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const winsys::BitmapHandle color(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  GetObjectA(color.get(), sizeof bm, &bm);
  IconPicture picture{bm.bmWidth, bm.bmHeight, std::vector<DWORD>(bm.bmWidth * bm.bmHeight)};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = bm.bmWidth;
  format.bmiHeader.biHeight = -bm.bmHeight;  // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, color.get(), 0, bm.bmHeight, picture.pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return picture;
}

IconPicture BrandIconAt(int widthMetric, int heightMetric) {
  HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                             GetSystemMetrics(widthMetric),
                                             GetSystemMetrics(heightMetric), 0));
  IconPicture picture = PictureOf(icon);
  DestroyIcon(icon);
  return picture;
}

// Each main window, of either language, gets the brand's small and big icon
// once, at the system's sizes, sent with a time-out; the icons outlive the
// dispatch, as the companion's windows go on showing them. The About box
// keeps its own.
TEST_F(Dispatch, MainWindowsGetTheBrandIconsOnceTheAboutBoxNone) {
  ImportHook<decltype(&::SendMessageTimeoutA)> watch("user32.dll", "SendMessageTimeoutA",
                                                     WatchedSendMessageTimeout);
  g_sendMessageTimeout = watch.Original();
  g_sentIcons.clear();
  HWND english = TopWindow(TitleMainEn);
  HWND chinese = TopWindow(TitleMainCn);
  HWND about = TopWindow(TitleAboutEn);
  Controller().ApplyTitleRules(english, TitleMainEn);
  Controller().ApplyTitleRules(english, BrandMainEn);  // the next tick
  Controller().ApplyTitleRules(chinese, TitleMainCn);
  Controller().ApplyTitleRules(about, TitleAboutEn);

  ASSERT_EQ(g_sentIcons.size(), 4u) << "a small and a big icon for each main window, no more";
  const IconPicture smallIcon = BrandIconAt(SM_CXSMICON, SM_CYSMICON);
  const IconPicture bigIcon = BrandIconAt(SM_CXICON, SM_CYICON);
  ASSERT_EQ(smallIcon.width, GetSystemMetrics(SM_CXSMICON));
  ASSERT_EQ(bigIcon.width, GetSystemMetrics(SM_CXICON));
  for (size_t i = 0; i < g_sentIcons.size(); ++i) {
    const SentIcon& sent = g_sentIcons[i];
    const IconPicture& expected = i % 2 == 0 ? smallIcon : bigIcon;
    EXPECT_EQ(sent.wnd, i < 2 ? english : chinese) << i;
    EXPECT_EQ(sent.which, WPARAM(i % 2 == 0 ? ICON_SMALL : ICON_BIG)) << i;
    EXPECT_GT(sent.timeoutMs, 0u) << i;
    const IconPicture picture = PictureOf(sent.icon);
    EXPECT_EQ(picture.width, expected.width) << i << ": gone, or not at the system's size";
    EXPECT_EQ(picture.height, expected.height) << i;
    EXPECT_TRUE(picture.pixels == expected.pixels) << i << ": not the brand's icon";
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(sent.wnd, WM_GETICON, sent.which, 0)), sent.icon)
        << i;
  }
  EXPECT_EQ(SendMessageA(about, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(DispatchCp936, ChineseMainWindowIsRetitledOnceAndFreesTheSplash) {
  ASSERT_EQ(GetACP(), 936u);
  Form2 = new TForm2();
  HWND main = TopWindow(TitleMainCn);
  HWND rich = RichEdit(main, "RICHEDIT", Lines(30, 40));
  const size_t before = WindowText(rich).size();

  Controller().ApplyTitleRules(main, TitleMainCn);
  EXPECT_EQ(WindowText(main), BrandMainCn);
  EXPECT_EQ(MainCnWnd, main);
  EXPECT_EQ(Form2, nullptr) << "the splash goes once a main window is recognised";
  EXPECT_EQ(WalksOf(main), 1u);
  EXPECT_EQ(WindowText(rich).size(), before - (800 - 73));

  Controller().ApplyTitleRules(main, BrandMainCn);  // the next tick sees the brand title
  EXPECT_EQ(WalksOf(main), 1u) << "a recorded main window is not walked again from here";
  EXPECT_EQ(WindowText(rich).size(), before - (800 - 73));
  EXPECT_EQ(MainEnWnd, nullptr);
}

TEST_F(Dispatch, EnglishMainWindowKeepsItsTrailingBlankAndItsOwnSlot) {
  Form2 = new TForm2();
  HWND main = TopWindow(TitleMainEn);
  Controller().ApplyTitleRules(main, TitleMainEn);
  EXPECT_EQ(WindowText(main), BrandMainEn);
  EXPECT_EQ(MainEnWnd, main);
  EXPECT_EQ(MainCnWnd, nullptr) << "the trailing blank keeps it from the Chinese slot";
  EXPECT_EQ(Form2, nullptr);

  Controller().ApplyTitleRules(main, BrandMainEn);
  EXPECT_EQ(WalksOf(main), 1u);
  EXPECT_EQ(MainCnWnd, nullptr);

  HWND chinese = TopWindow(TitleMainCn);  // the companion switched language
  Controller().ApplyTitleRules(chinese, TitleMainCn);
  EXPECT_EQ(MainCnWnd, chinese);
  EXPECT_EQ(MainEnWnd, main);
}

TEST_F(Dispatch, EachAboutBoxIsHandledOnce) {
  HWND first = TopWindow(TitleAboutEn);
  Controller().ApplyTitleRules(first, TitleAboutEn);
  EXPECT_EQ(WindowText(first), BrandAboutEn);
  EXPECT_EQ(AboutWnd, first);
  Controller().ApplyTitleRules(first, BrandAboutEn);
  Controller().ApplyTitleRules(first, TitleAboutEn);  // the same box, whatever its title
  EXPECT_EQ(WalksOf(first), 1u);

  HWND second = TopWindow(TitleAboutEn);
  Controller().ApplyTitleRules(second, TitleAboutEn);
  EXPECT_EQ(WindowText(second), BrandAboutEn);
  EXPECT_EQ(AboutWnd, second);
  EXPECT_EQ(WalksOf(second), 1u);
  EXPECT_EQ(MainEnWnd, nullptr);
}

TEST_F(DispatchCp936, ChineseAboutBoxGetsTheChineseBrandTitle) {
  HWND about = TopWindow(TitleAboutCn);
  Controller().ApplyTitleRules(about, TitleAboutCn);
  EXPECT_EQ(WindowText(about), BrandAboutCn);
  EXPECT_EQ(AboutWnd, about);
}

TEST_F(Dispatch, OtherProgramsAreLeftAloneWhileTheSlotsHoldZero) {
  HWND address = TopWindow(VendorWebAddress);
  HWND richHost = TopWindow("another program");
  HWND rich = RichEdit(richHost, "RICHEDIT", Lines(30, 40));
  const std::string text = WindowText(rich);
  MainEnWnd = TopWindow(BrandMainEn);

  // The connection-failure path looks the main window up by title and may get 0.
  Controller().ApplyTitleRules(nullptr, TitleMainEn);
  Controller().ApplyTitleRules(nullptr, TitleMainCn);
  EXPECT_EQ(MainEnWnd, nullptr) << "window 0 is still recorded";
  // Titles that only begin with the companion's or the brand's are not its windows.
  for (const char* known : {TitleMainEn, TitleMainCn, TitleAboutEn, TitleAboutCn, BrandMainEn}) {
    const std::string title = known + std::string("x");
    HWND longer = TopWindow(title);
    Controller().ApplyTitleRules(longer, title);
    EXPECT_EQ(WindowText(longer), title);
    EXPECT_EQ(WalksOf(longer), 0u) << title;
  }
  EXPECT_EQ(MainCnWnd, nullptr);
  EXPECT_EQ(AboutWnd, nullptr);
  for (int i = 0; i < 5; ++i) Controller().Timer3Timer();

  EXPECT_EQ(WalksOf(nullptr), 0u) << "no walk may start from window 0";
  EXPECT_TRUE(IsWindowVisible(address));
  EXPECT_EQ(WindowText(rich), text);
}

// The poll tick driven by hand, with the companion missing, found without a
// usable window, and foremost with an empty title.
TEST_F(PollTick, TheTwoHundredFirstMissInARowEndsTheLauncherAndAFindStartsTheCountAgain) {
  NoCompanionLeft noCompanion;
  Form2 = new TForm2();
  Form1->ShowWithoutActivating();  // as the event loop shows the main form
  EXPECT_EQ(Bounds(Form1->Handle()), (std::vector<LONG>{586, 227, 453, 276}));
  auto tick = [](int times) {
    while (times--) Controller().Timer1Timer();
  };
  tick(150);
  EXPECT_FALSE(IsWindowVisible(Form1->Handle()));
  EXPECT_EQ(Bounds(Form1->Handle()), (std::vector<LONG>{-800, 227, 453, 276}));

  ScopedEnv env({{std::string("KORVASTEL_START"), std::string("hidden")}});
  ChildProcess companion(CompanionCommand());
  ASSERT_TRUE(StartCompanion(companion));
  tick(1);
  EXPECT_NE(Form2, nullptr) << "a companion without a usable window leaves the splash";
  HWND main = CompanionMainWindow(companion.Pid());
  SetWindowTextA(main, "");
  ShowWindow(main, SW_SHOWNORMAL);
  tick(1);
  EXPECT_EQ(Form2, nullptr) << "an empty foremost title frees the splash";
  companion.Kill();

  Form1->Timer1.SetEnabled(true);  // as FormCreate leaves it; no message is processed below
  MSG quit;
  tick(200);
  for (int pass = 0; pass < 3; ++pass) Controller().FRelabelPassPosted();
  EXPECT_TRUE(Form1->Timer1.Enabled()) << "150 misses, a find, then 200 misses and passes";
  EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  tick(1);
  EXPECT_FALSE(Form1->Timer1.Enabled());
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the form was closed";
}

// The box stands in front of the main window, which still shows the
// companion's title: the tick retitles the window behind it.
TEST_F(PollTick, LooksPastTheConnectionFailureBoxToTheMainWindow) {
  NoCompanionLeft noCompanion;
  ScopedEnv env({{std::string("KORVASTEL_START"), std::string("connfail")}});
  ChildProcess companion(CompanionCommand());
  ASSERT_TRUE(StartCompanion(companion));
  ASSERT_TRUE(WaitUntil([&] {
    HWND box = TopWindowOfClass(companion.Pid(), "#32770");
    return box && IsWindowVisible(box);
  }));
  Controller().Timer1Timer();
  EXPECT_EQ(WindowText(CompanionMainWindow(companion.Pid())), BrandMainEn);
}

}  // namespace
