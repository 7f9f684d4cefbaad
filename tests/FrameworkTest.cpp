#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/ImportHook.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TestWindow.h"
#include "winsys/Application.h"
#include "winsys/Controls.h"
#include "winsys/Graphics.h"
#include "winsys/Handles.h"
#include "winsys/Thread.h"
#include "winsys/Timer.h"

using namespace winsys;

namespace {

std::atomic<int> g_passes;
std::atomic<HANDLE> g_freedOn;  // the thread that freed its object

class CountingThread : public TThread {
 public:
  CountingThread() { FreeOnTerminate = true; }
  ~CountingThread() override { g_freedOn = OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId()); }

 protected:
  void Execute() override {
    while (!Terminated()) {
      ++g_passes;
      Sleep(1);
    }
  }
};

TEST(Thread, FreesItselfOnItsOwnThreadOnceStopped) {
  for (const bool stoppedBeforeItRuns : {true, false}) {
    SCOPED_TRACE(stoppedBeforeItRuns ? "stopped before it runs" : "runs until stopped");
    g_passes = 0;
    g_freedOn = nullptr;
    auto* thread = new CountingThread();
    if (stoppedBeforeItRuns) thread->Terminate();
    thread->Resume();
    if (!stoppedBeforeItRuns) {
      ASSERT_TRUE(WaitUntil([] { return g_passes > 3; }, 5000));
      thread->Terminate();
    }
    ASSERT_TRUE(WaitUntil([] { return g_freedOn.load() != nullptr; }, 5000));
    const KernelHandle freedOn(g_freedOn);
    EXPECT_EQ(WaitForSingleObject(freedOn.get(), 5000), WAIT_OBJECT_0) << "its thread ends";
    if (stoppedBeforeItRuns) {
      EXPECT_EQ(g_passes, 0);
    }
  }
}

const TForm::Description kTestForm = {"TTestForm", "Test", {10, 10, 200, 100}, clBtnFace, false};

// A main form whose timer fails on its first ticks, then closes the form.
class ClosingForm : public TForm {
 public:
  ClosingForm() : TForm(kTestForm), Timer1(5, true, [this](TObject*) { Tick(); }) {}
  TTimer Timer1;
  int ticks = 0;

 private:
  void Tick() {
    if (++ticks < 4) throw std::runtime_error("tick failed");
    Close();
  }
};

TEST(Application, EventErrorsAreShownOnceAtATimeAndCloseEndsRunKeepingTheForm) {
  MessageBoxes boxes;
  Application.Initialize();
  ClosingForm* form = nullptr;
  Application.CreateForm(form);
  Application.Run();

  EXPECT_EQ(boxes.Shown(), std::vector<std::string>{"kestron_tests: tick failed"})
      << "the failing ticks that the box's loop runs open no box of their own";
  ASSERT_FALSE(boxes.Boxes().empty());
  EXPECT_TRUE(boxes.Boxes()[0].timersRan) << "the loop must go on while the box is open";
  EXPECT_GE(form->ticks, 4);
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

  const RECT box = {0, 0, 300, 200};
  TestWindow foreign = MakeTestWindow("box", WS_POPUP | WS_VISIBLE, box);
  form.Label.SetParentToNone();
  EXPECT_EQ(form.Label.Handle(), nullptr) << "detaching destroys the label's window";
  form.Label.SetParentWindow(foreign.get());
  HWND label = form.Label.Handle();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(GetParent(label), foreign.get());
  EXPECT_TRUE(IsWindowVisible(label));
  RECT r;
  GetWindowRect(label, &r);
  EXPECT_EQ(r.left, -150);
  EXPECT_EQ(r.right - r.left, 121);

  form.Label.SetParentWindow(foreign.get());  // the same window: nothing is recreated
  EXPECT_EQ(form.Label.Handle(), label);
  form.Label.SetLeft(7);
  form.Label.SetCaption("moved");
  GetWindowRect(label, &r);
  EXPECT_EQ(r.left, 7);
  EXPECT_EQ(WindowText(label), "moved");
  form.Label.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(label));

  foreign.Reset();
  EXPECT_EQ(form.Label.Handle(), nullptr) << "the label forgets a window its parent destroyed";

  const TestWindow second = MakeTestWindow("box", WS_POPUP | WS_VISIBLE, box);
  form.Label.SetParentWindow(second.get());
  EXPECT_EQ(form.Label.Handle(), nullptr) << "a hidden label gets no window";
}

}  // namespace
