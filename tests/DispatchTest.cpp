#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "tests/support/ControllerAccess.h"
#include "tests/support/ControllerFixture.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"

namespace {

using Dispatch = ControllerTest;
using DispatchCp936 = ControllerTest;

size_t WalksOf(HWND parent) {
  return std::count(ControllerTest::walks.begin(), ControllerTest::walks.end(), parent);
}

TEST_F(DispatchCp936, ChineseMainWindowIsRetitledOnceAndFreesTheSplash) {
  ASSERT_EQ(GetACP(), 936u);
  Form2 = new TForm2();
  HWND main = TopWindow(TitleMainCn);
  HWND rich = RichEdit(main, "RICHEDIT", Lines(30, 40));
  const size_t before = ControlText(rich).size();

  Controller().ApplyTitleRules(main, TitleMainCn);
  EXPECT_EQ(WindowText(main), "KESTRON V1.0");
  EXPECT_EQ(MainCnWnd, main);
  EXPECT_EQ(Form2, nullptr) << "the splash goes once a main window is recognised";
  EXPECT_EQ(WalksOf(main), 1u);
  EXPECT_EQ(ControlText(rich).size(), before - (800 - 73));

  Controller().ApplyTitleRules(main, BrandMainCn);  // the next tick sees the brand title
  EXPECT_EQ(WalksOf(main), 1u) << "a recorded main window is not walked again from here";
  EXPECT_EQ(ControlText(rich).size(), before - (800 - 73));
  EXPECT_EQ(MainEnWnd, nullptr);
}

TEST_F(Dispatch, EnglishMainWindowKeepsItsTrailingBlankAndItsOwnSlot) {
  Form2 = new TForm2();
  HWND main = TopWindow(TitleMainEn);
  Controller().ApplyTitleRules(main, TitleMainEn);
  EXPECT_EQ(WindowText(main), "KESTRON V1.0 ");
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
  EXPECT_EQ(WindowText(first), "About KESTRON V1.0");
  EXPECT_EQ(AboutWnd, first);
  Controller().ApplyTitleRules(first, BrandAboutEn);
  Controller().ApplyTitleRules(first, TitleAboutEn);  // the same box, whatever its title
  EXPECT_EQ(WalksOf(first), 1u);

  HWND second = TopWindow(TitleAboutEn);
  Controller().ApplyTitleRules(second, TitleAboutEn);
  EXPECT_EQ(WindowText(second), "About KESTRON V1.0");
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
  const std::string text = ControlText(rich);
  MainEnWnd = TopWindow(BrandMainEn);

  // The connection-failure path looks the main window up by title and may get 0.
  Controller().ApplyTitleRules(nullptr, TitleMainEn);
  Controller().ApplyTitleRules(nullptr, TitleMainCn);
  EXPECT_EQ(MainEnWnd, nullptr) << "window 0 is still recorded";
  EXPECT_EQ(MainCnWnd, nullptr);
  for (int i = 0; i < 5; ++i) Controller().Timer3Timer();

  EXPECT_EQ(WalksOf(nullptr), 0u) << "no walk may start from window 0";
  EXPECT_TRUE(IsWindowVisible(address));
  EXPECT_EQ(ControlText(rich), text);
}

}  // namespace
