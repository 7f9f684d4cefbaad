#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "tests/support/ImportHook.h"
#include "tests/support/TestSupport.h"
#include "winsys/Application.h"
#include "winsys/Controls.h"
#include "winsys/Graphics.h"
#include "winsys/Thread.h"
#include "winsys/Timer.h"

using namespace winsys;

namespace {

TEST(Canvas, DrawingWithoutAContextRaises) {
  TCanvas canvas;
  TBitmap picture("OVERLAY");
  EXPECT_THROW(canvas.Draw(0, 0, picture), std::runtime_error);
}

std::atomic<int> g_passes;
std::atomic<bool> g_freed;

class CountingThread : public TThread {
 public:
  ~CountingThread() override { g_freed = true; }

 protected:
  void Execute() override {
    while (!Terminated()) {
      ++g_passes;
      Sleep(1);
    }
  }
};

TEST(Thread, StoppedBeforeItRunsMakesNoPassAndFreesItself) {
  g_passes = 0;
  g_freed = false;
  auto* thread = new CountingThread();
  thread->FreeOnTerminate = true;
  thread->Terminate();
  thread->Resume();
  ASSERT_TRUE(WaitUntil([] { return g_freed.load(); }, 5000));
  EXPECT_EQ(g_passes, 0);
}

TEST(Thread, RunsUntilAskedToStop) {
  g_passes = 0;
  g_freed = false;
  auto* thread = new CountingThread();
  thread->FreeOnTerminate = true;
  thread->Resume();
  ASSERT_TRUE(WaitUntil([] { return g_passes > 3; }, 5000));
  thread->Terminate();
  ASSERT_TRUE(WaitUntil([] { return g_freed.load(); }, 5000));
}

const TForm::Description kTestForm = {
    "TTestForm", "Test", {10, 10, 200, 100}, clBtnFace, {"MS Sans Serif", -11, clWindowText},
    false};

// A main form whose timer fails once, then closes the form.
class ClosingForm : public TForm {
 public:
  ClosingForm() : TForm(kTestForm), Timer1(5, true, [this](TObject*) { Tick(); }) {}
  TTimer Timer1;
  int ticks = 0;

 private:
  void Tick() {
    if (++ticks == 1) throw std::runtime_error("first tick failed");
    Close();
  }
};

std::string g_errorMessage;
std::string g_errorTitle;

int WINAPI RecordErrorBox(HWND, LPCSTR message, LPCSTR title, UINT) {
  g_errorMessage = message;
  g_errorTitle = title;
  return IDOK;
}

TEST(Application, EventErrorsAreShownAndCloseEndsRunKeepingTheForm) {
  ImportHook<decltype(&::MessageBoxA)> errorBox("user32.dll", "MessageBoxA", RecordErrorBox);
  Application.Initialize();
  ClosingForm* form = nullptr;
  Application.CreateForm(form);
  Application.Run();

  EXPECT_EQ(g_errorMessage, "first tick failed");
  EXPECT_EQ(g_errorTitle, "kestron_tests");
  EXPECT_GE(form->ticks, 2) << "the loop must go on after an event error";
  EXPECT_EQ(Application.MainForm(), form) << "closing must not free the main form";
  EXPECT_TRUE(IsWindowVisible(form->Handle())) << "closing must not hide the main form";
  EXPECT_TRUE(IsWindowVisible(Application.Handle()));
  Application.DestroyForms();
  DestroyWindow(Application.Handle());
  EXPECT_EQ(Application.Handle(), nullptr) << "a later form must not be owned by a dead window";
}

class LabelForm : public TForm {
 public:
  LabelForm()
      : TForm(kTestForm),
        Label(*this, {-150, 20, 121, 17}, "label", {"MS Sans Serif", -11, clBlue, false, true}) {}
  TStaticText Label;
};

TEST(StaticText, MovesIntoAForeignWindowAndForgetsItWithIt) {
  LabelForm form;
  HWND formWindow = form.Handle();
  ASSERT_NE(form.Label.Handle(), nullptr);
  EXPECT_EQ(GetParent(form.Label.Handle()), formWindow);

  HWND foreign = CreateWindowExA(0, "STATIC", "box", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
  form.Label.SetParentToNone();
  EXPECT_EQ(form.Label.Handle(), nullptr) << "detaching destroys the label's window";
  form.Label.SetParentWindow(foreign);
  HWND label = form.Label.Handle();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(GetParent(label), foreign);
  EXPECT_TRUE(IsWindowVisible(label));
  RECT r;
  GetWindowRect(label, &r);
  EXPECT_EQ(r.left, -150);
  EXPECT_EQ(r.right - r.left, 121);

  form.Label.SetParentWindow(foreign);  // the same window: nothing is recreated
  EXPECT_EQ(form.Label.Handle(), label);
  form.Label.SetLeft(7);
  form.Label.SetCaption("moved");
  GetWindowRect(label, &r);
  EXPECT_EQ(r.left, 7);
  EXPECT_EQ(WindowText(label), "moved");
  form.Label.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(label));

  DestroyWindow(foreign);
  EXPECT_EQ(form.Label.Handle(), nullptr) << "the label forgets a window its parent destroyed";

  HWND second = CreateWindowExA(0, "STATIC", "box", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  form.Label.SetParentWindow(second);
  EXPECT_EQ(form.Label.Handle(), nullptr) << "a hidden label gets no window";
  DestroyWindow(second);
}

}  // namespace
