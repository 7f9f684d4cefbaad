#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>

#include <mutex>
#include <string>
#include <vector>

#include "tests/support/ControllerAccess.h"
#include "tests/support/ControllerFixture.h"
#include "tests/support/ImportHook.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"
#include "ui/RuleSets.h"
#include "ui/TitleDispatch.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Win32Windows.h"

namespace {

using AboutRules = ControllerTest;
using AboutRulesCp936 = ControllerTest;
using RichText = ControllerTest;
using Overlay = ControllerTest;

struct ControlCase {
  std::string text;
  bool hidden;
  std::string after;  // the text once the rules ran
};

// Builds an About box from the cases, runs the dispatch on it and checks each control.
void CheckAboutBox(ControllerTest& test, HWND about, const char* title,
                   const std::vector<ControlCase>& cases) {
  std::vector<HWND> controls;
  int y = 4;
  for (const auto& c : cases) controls.push_back(test.Static(about, c.text, 140, y += 20));
  Controller().ApplyTitleRules(about, title);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(!IsWindowVisible(controls[i]), cases[i].hidden) << "'" << cases[i].text << "'";
    EXPECT_EQ(WindowText(controls[i]), cases[i].after) << "'" << cases[i].text << "'";
  }
}

TEST_F(AboutRules, HideAttributionsAndRewriteBrandTexts) {
  const std::vector<ControlCase> cases = {
      {"", true, ""},
      {VendorWebAddress, true, VendorWebAddress},
      {"www.ostrelprog.example/x", false, "www.ostrelprog.example/x"},  // addresses match exactly
      {VendorWebAddress2, true, VendorWebAddress2},
      {VendorSupportEmail, true, VendorSupportEmail},
      {"Torvin Eskel", true, "Torvin Eskel"},
      {"designed by Torvin Eskel", true, "designed by Torvin Eskel"},
      {"Email: sales@elsewhere.example", true, "Email: sales@elsewhere.example"},
      {"WEBSITE:", true, "WEBSITE:"},
      {"Web site: www.drumel.example", false, "Web site: www.drumel.example"},
      {"Ostrel Programmer V6.10", false, BrandProduct},
      {"ShenZhen Pelta Co.", false, BrandCompany},
      {"Version 6.10 build 2", false, "Version 6.10 build 2"},
      {"OK", false, "OK"},
  };
  HWND about = TopWindow(TitleAboutEn);
  CheckAboutBox(*this, about, TitleAboutEn, cases);
}

TEST_F(AboutRulesCp936, HideChineseAttributionsAndRewriteBrandTexts) {
  ASSERT_EQ(GetACP(), 936u);
  // The companion's own bytes, not the launcher's constants.
  const std::string design = "\xCF\xB5\xCD\xB3\xC9\xE8\xBC\xC6\xA3\xBA";   // "系统设计："
  const std::string support = "\xB3\xD6\xCA\xF5\xBC\xBC\xB3\xD6\xA3\xBA";  // "持术技持："
  const std::string company =  // "深圳Drumel科技有限公司 版权所有"
      "\xC9\xEE\xDB\xDA"
      "Drumel"
      "\xBF\xC6\xBC\xBC\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE \xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0";
  const std::vector<ControlCase> cases = {
      {design.substr(0, 4), true, design.substr(0, 4)},  // "系统": a prefix of "系统设计："
      {design, true, design},
      {design + "Torvin", false, design + "Torvin"},       // longer than "系统设计："
      {support.substr(0, 4), true, support.substr(0, 4)},  // "持术"
      {support, true, support},
      {"\xCD\xF8\xD6\xB7\xA3\xBA", true, "\xCD\xF8\xD6\xB7\xA3\xBA"},  // "网址："
      {company, false, BrandCompany},
      {"tamsu\xCF\xB5\xC1\xD0\xB1\xE0\xB3\xCC\xC6\xF7 V6.10", false,
       BrandProduct},  // "tamsu系列编程器 V6.10": letter case aside, as the companion writes it
      {"\xB0\xE6\xB1\xBE 6.10", false, "\xB0\xE6\xB1\xBE 6.10"},  // "版本 6.10"
  };
  HWND about = TopWindow(TitleAboutCn);
  CheckAboutBox(*this, about, TitleAboutCn, cases);
}

TEST_F(AboutRules, AddressLabelTakesTheVendorAddressPlaceOnce) {
  HWND about = TopWindow(TitleAboutEn, 150, 120);
  HWND vendor = Static(about, VendorWebAddress, 140, 142);
  RECT r1, r2;
  GetWindowRect(vendor, &r1);
  GetWindowRect(about, &r2);
  Controller().ApplyTitleRules(about, TitleAboutEn);

  HWND label = Form1->FLabelAbout.Handle();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(GetParent(label), about);
  EXPECT_TRUE(IsWindowVisible(label));
  EXPECT_TRUE(GetWindowLongPtrA(label, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY)
      << "made and destroyed without waiting for the box's program";
  EXPECT_FALSE(IsWindowVisible(vendor));
  EXPECT_EQ(WindowText(label), OwnWebAddress);
  POINT at{0, 0};
  MapWindowPoints(label, about, &at, 1);
  EXPECT_EQ(at.x, r1.left - r2.left - 3);
  EXPECT_EQ(at.y, r1.top - r2.top - 30);
  EXPECT_EQ(GetWindow(about, GW_CHILD), label) << "the label is on top of its siblings";

  HWND again = Static(about, VendorWebAddress, 140, 190);  // a second vendor address
  AboutChildProc(again, 0);
  EXPECT_EQ(Form1->FLabelAbout.Handle(), label) << "the label keeps its window in the same box";

  HWND next = TopWindow(TitleAboutEn, 200, 160);
  Static(next, VendorWebAddress, 140, 142);
  Controller().ApplyTitleRules(next, TitleAboutEn);
  ASSERT_NE(Form1->FLabelAbout.Handle(), nullptr);
  EXPECT_EQ(GetParent(Form1->FLabelAbout.Handle()), next) << "a later About box gets it again";
  EXPECT_TRUE(IsWindowVisible(Form1->FLabelAbout.Handle()));
}

// Where the platform refuses the label's window in the box (as it does for a
// companion that declares another DPI awareness), the controls after the
// vendor's address are still re-labelled, and the label comes on a later
// pass while the box is in front.
TEST_F(AboutRules, ALabelTheBoxRefusesLeavesTheOtherControlsRelabelledAndComesLater) {
  HWND about = TopWindow(TitleAboutEn);
  HWND vendor = Static(about, VendorWebAddress, 140, 142);
  HWND later = Static(about, VendorWebAddress2, 140, 166);
  HWND product = Static(about, ProductEn, 140, 190);
  {
    RefusedWindowClass refused("TStaticText");
    EXPECT_NO_THROW(Controller().ApplyTitleRules(about, TitleAboutEn));
    Controller().Relabel(about);  // still refused on the next pass
  }
  EXPECT_FALSE(IsWindowVisible(vendor));
  EXPECT_FALSE(IsWindowVisible(later)) << "the walk went on past the refused label";
  EXPECT_EQ(WindowText(product), BrandProduct);
  EXPECT_EQ(Form1->FLabelAbout.Handle(), nullptr);

  Controller().Relabel(about);
  ASSERT_NE(Form1->FLabelAbout.Handle(), nullptr) << "the next pass moves the label in";
  EXPECT_EQ(GetParent(Form1->FLabelAbout.Handle()), about);
  EXPECT_TRUE(IsWindowVisible(Form1->FLabelAbout.Handle()));
}

struct CutCase {
  const char* className;
  int lines;
  int width;
  bool english;
  bool cut;
};

TEST_F(RichText, LongDescriptionsLoseTheirMiddle) {
  const CutCase cases[] = {
      {"RICHEDIT", 10, 90, true, false},     // ten lines stay
      {"RICHEDIT", 11, 90, true, true},      // from 78 up to 800
      {"RICHEDIT", 11, 90, false, true},     // from 73 up to 800
      {"RICHEDIT", 12, 20, true, true},      // shorter than 800: cut to its end
      {"RichEdit20A", 30, 40, true, false},  // only the exact class name is cut
  };
  for (const CutCase& c : cases) {
    SCOPED_TRACE(std::string(c.className) + " lines " + std::to_string(c.lines) +
                 (c.english ? " en" : " cn"));
    HWND main = TopWindow(c.english ? TitleMainEn : TitleMainCn);
    HWND rich = RichEdit(main, c.className, Lines(c.lines, c.width));
    const std::string before = WindowText(rich);
    ASSERT_EQ(SendMessageA(rich, EM_GETLINECOUNT, 0, 0), c.lines);
    const size_t first = c.english ? 78 : 73;
    winsys::EnumChildWindows(main, c.english ? MainEnChildProc : MainCnChildProc, 0);
    const std::string expected =
        c.cut ? before.substr(0, first) + (before.size() > 800 ? before.substr(800) : "") : before;
    EXPECT_EQ(WindowText(rich), expected);
  }
}

TEST_F(RichText, TextsTheCompanionWritesBackAreChangedAgain) {
  HWND main = TopWindow(TitleMainEn);
  HWND address = Static(main, VendorWebAddress, 10, 220);
  HWND rich = RichEdit(main, "RICHEDIT", Lines(40, 40));
  Controller().ApplyTitleRules(main, TitleMainEn);
  EXPECT_FALSE(IsWindowVisible(address));

  for (int round = 0; round < 2; ++round) {
    SetWindowTextA(rich, Lines(40, 40).c_str());
    ShowWindow(address, SW_SHOW);
    const size_t written = WindowText(rich).size();
    Controller().Timer3Timer();
    EXPECT_FALSE(IsWindowVisible(address)) << "round " << round;
    EXPECT_EQ(WindowText(rich).size(), written - (800 - 78)) << "round " << round;
  }
  // Still more than ten lines: every tick cuts again until ten or fewer remain.
  for (int i = 0; i < 10; ++i) Controller().Timer3Timer();
  EXPECT_LE(SendMessageA(rich, EM_GETLINECOUNT, 0, 0), 10);
}

// The overlay picture at the box's client origin, as far as a test box's client reaches.
bool ShowsOverlay(HWND box) { return ShowsPicture(box, {0, 0}, "OVERLAY", 140, 260); }

// Where in the log of context calls a window's first GetDC or ReleaseDC from
// `from` on stands; -1 if none.
int CallIndex(const WindowDCCount& dcs, bool acquired, HWND wnd, size_t from) {
  const auto& calls = dcs.Calls();
  for (size_t i = from; i < calls.size(); ++i)
    if (calls[i].acquired == acquired && calls[i].wnd == wnd) return static_cast<int>(i);
  return -1;
}

// Opens a box and runs the two ticks that see it: the retitle, then the first paint.
HWND OpenAboutBox(ControllerTest& test, const char* title, const char* brand) {
  HWND box = test.TopWindow(title);
  PumpMessages(50);
  Controller().ApplyTitleRules(box, title);
  Controller().PaintAboutOverlay(box, title);
  Controller().PaintAboutOverlay(box, brand);
  return box;
}

TEST_F(Overlay, PaintsOnTheTicksAfterTheRetitleAndHoldsOneContext) {
  WindowDCCount dcs;
  const int baseline = dcs.Outstanding();
  Controller().PaintAboutOverlay(nullptr, BrandAboutEn);  // no context yet: nothing, no error

  HWND first = TopWindow(TitleAboutEn);
  PumpMessages(50);
  Controller().ApplyTitleRules(first, TitleAboutEn);
  Controller().PaintAboutOverlay(first, TitleAboutEn);
  EXPECT_EQ(dcs.Outstanding(), baseline + 1);
  EXPECT_FALSE(ShowsOverlay(first)) << "nothing is drawn when acquiring";
  Controller().PaintAboutOverlay(first, BrandAboutEn);
  EXPECT_TRUE(ShowsOverlay(first));

  RedrawWindow(first, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  for (const char* main : {TitleMainEn, BrandMainEn}) Controller().PaintAboutOverlay(first, main);
  EXPECT_FALSE(ShowsOverlay(first)) << "the main window in front: nothing is drawn";
  EXPECT_EQ(dcs.Outstanding(), baseline + 1) << "nor another context held";

  // The first box still open: its context goes back before the next is taken,
  // which may be the very same context on Windows.
  size_t from = dcs.Calls().size();  // the test's own looks at the screen come before
  HWND second = OpenAboutBox(*this, TitleAboutCn, BrandAboutCn);
  ASSERT_GE(CallIndex(dcs, false, first, from), 0);
  EXPECT_LT(CallIndex(dcs, false, first, from), CallIndex(dcs, true, second, from));
  EXPECT_TRUE(ShowsOverlay(second));
  EXPECT_EQ(dcs.Outstanding(), baseline + 1) << "the first box's context is released";

  // The second box closed: the platform took its context back, and it is not released again.
  DestroyWindow(second);
  from = dcs.Calls().size();
  HWND third = OpenAboutBox(*this, TitleAboutEn, BrandAboutEn);
  EXPECT_EQ(CallIndex(dcs, false, second, from), -1) << "a closed box's context is not released";
  EXPECT_TRUE(ShowsOverlay(third));

  winsys::Application.DestroyForms();
  EXPECT_EQ(dcs.Outstanding(), baseline);
  EXPECT_GE(CallIndex(dcs, false, third, from), 0);
}

struct ShellRequest {
  HWND owner;
  std::string verb, file;
  int show;
  DWORD thread;
  bool comReady;  // COM was initialised as a single-threaded apartment on that thread
};
std::mutex g_shellLock;
std::vector<ShellRequest> g_shell;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR,
                                    INT show) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(com)) CoUninitialize();
  std::lock_guard<std::mutex> lock(g_shellLock);
  g_shell.push_back({owner, verb, file, show, GetCurrentThreadId(), com == S_FALSE});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
}

// The shell takes seconds to start a browser: the call is made on a thread of
// its own, with COM ready, so that the About box, whose input the launcher's
// thread shares, never waits for it.
TEST_F(AboutRules, ClickingTheLabelOpensTheLaunchersAddressBesideTheLoop) {
  g_shell.clear();
  ImportHook<decltype(&::ShellExecuteA)> shell("shell32.dll", "ShellExecuteA", RecordShellExecute);
  HWND about = TopWindow(TitleAboutEn);
  Static(about, VendorWebAddress, 140, 142);
  Controller().ApplyTitleRules(about, TitleAboutEn);
  HWND label = Form1->FLabelAbout.Handle();
  ASSERT_NE(label, nullptr);
  SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

  auto requests = [] {
    std::lock_guard<std::mutex> lock(g_shellLock);
    return g_shell;
  };
  ASSERT_TRUE(WaitUntil([&] { return !requests().empty(); }, 5000));
  const std::vector<ShellRequest> made = requests();
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].owner, Form1->Handle());
  EXPECT_EQ(made[0].verb, "open");
  EXPECT_EQ(made[0].file, OwnWebAddress);
  EXPECT_EQ(made[0].show, SW_SHOWNORMAL);
  EXPECT_NE(made[0].thread, GetCurrentThreadId()) << "made on the thread that runs the loop";
  EXPECT_TRUE(made[0].comReady);
}

}  // namespace
