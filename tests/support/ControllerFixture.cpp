#include "tests/support/ControllerFixture.h"

#include "tests/support/ControllerAccess.h"
#include "tests/support/Screen.h"
#include "tests/support/Wait.h"
#include "text/TextTable.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"

std::vector<HWND> ControllerTest::walks;
decltype(&::EnumChildWindows) ControllerTest::enumChildWindows_;

BOOL WINAPI ControllerTest::RecordWalk(HWND parent, WNDENUMPROC proc, LPARAM context) {
  walks.push_back(parent);
  return enumChildWindows_(parent, proc, context);
}

void ControllerTest::SetUp() {
  enumChildWindows_ = walkHook_.Original();
  LoadLibraryA("riched32.dll");
  LoadLibraryA("riched20.dll");
  ForgetRecordedWindows();
  winsys::Application.CreateForm(Form1);  // the main form: closing it asks the loop to quit
  Form1->Timer1.SetEnabled(false);
  Form1->Timer3.SetEnabled(false);
  walks.clear();
}

void ControllerTest::TearDown() {
  winsys::Application.DestroyForms();
  FreeSplash();
}

HWND ControllerTest::TopWindow(const std::string& title, int x, int y) {
  windows_.push_back(
      MakeTestWindow(title, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {x, y, x + 420, y + 300}));
  return windows_.back().get();
}

HWND ControllerTest::Static(HWND parent, const std::string& text, int x, int y, int w) {
  return CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, x, y, w, 18, parent,
                         nullptr, nullptr, nullptr);
}

HWND ControllerTest::RichEdit(HWND parent, const char* className, const std::string& text) {
  // Wide enough that no line wraps: the control counts only the given lines.
  HWND wnd = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 10, 3000,
                             200, parent, nullptr, nullptr, nullptr);
  SetWindowTextA(wnd, text.c_str());
  return wnd;
}

std::string Lines(int lines, int width) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    std::string line = "L" + std::to_string(i) + ":";
    line.resize(width - 2, static_cast<char>('a' + i % 26));
    text += line + "\r\n";
  }
  return text.substr(0, text.size() - 2);  // no line end after the last line
}

void LiveControllerTest::SetUp() { ForgetRecordedWindows(); }

void LiveControllerTest::TearDown() { winsys::Application.DestroyForms(); }

DWORD LiveControllerTest::StartRelabelled(std::vector<std::pair<std::string, std::string>> env) {
  companion_ = Companion(std::move(env));
  if (!StartCompanion(*companion_)) return 0;
  winsys::Application.CreateForm(Form1);
  return WaitForText(CompanionMainWindow(companion_->Pid()), BrandMainEn) ? companion_->Pid() : 0;
}

std::unique_ptr<ChildProcess> LiveControllerTest::Companion(
    std::vector<std::pair<std::string, std::string>> env) {
  env.emplace_back("KORVASTEL_WINDOWS_EVENTS", "1");
  ScopedEnv scoped(std::move(env));
  return std::make_unique<ChildProcess>(CompanionCommand());
}

void LiveControllerTest::StopPoll() { Form1->Timer1.SetEnabled(false); }
