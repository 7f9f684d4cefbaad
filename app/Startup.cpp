#include "app/Startup.h"

#include <exception>

#include "text/StartFailure.h"
#include "text/TextTable.h"
#include "ui/StartupWatcher.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Win32.h"

using winsys::Application;

namespace {

// WinExec's results up to this one mean the program was not started.
constexpr UINT kLastStartFailure = 31;
constexpr UINT kChineseCodePage = 936;
// The exit status of a launcher that failed in a way the platform gave no code for.
constexpr int kFailedStatus = 1;

// Tells the user why the companion did not start, in the system's language
// as the companion itself would speak it, and gives the exit status: the
// reason's code.
int ReportStartFailure(const std::string& path, const winsys::StartResult& started) {
  const unsigned code = StartFailureCode(started.result, started.lastError);
  const bool chinese = winsys::AnsiCodePage() == kChineseCodePage;
  winsys::ErrorBox(StartFailureMessage(path, code, chinese).c_str(), BrandProduct);
  return code != 0 ? static_cast<int>(code) : kFailedStatus;
}

// Shows the splash, starts the companion and runs the controller until the
// companion has gone; the exit status.
int StartCompanionAndRun() {
  Form2 = new TForm2();
  const HWND splash = Form2->Handle();  // made before the thread: a failure leaves none behind
  auto* keepOnTop = new TMythread();    // frees itself when its loop ends
  keepOnTop->FreeOnTerminate = true;
  keepOnTop->FTargetWnd = splash;
  keepOnTop->Resume();
  Form2->Show();
  Form2->Repaint();  // drawn before WinExec blocks this thread

  const std::string programPath = winsys::ProgramPath();
  const std::string commandLine = CompanionCommandLine(programPath);
  // Retitles the companion's main window while WinExec waits. It shares
  // nothing with this thread but its stop flag: asked to stop as soon as
  // WinExec returns, whatever it returned, it ends within one walk interval,
  // or one retitle's time-out when the companion is busy or hung, and frees
  // itself. Nothing here waits for it.
  auto* watcher = new TStartupWatcher();
  watcher->FreeOnTerminate = true;
  watcher->Resume();
  const winsys::StartResult started = winsys::WinExec(commandLine.c_str());
  watcher->Terminate();
  keepOnTop->Terminate();
  if (started.result <= kLastStartFailure) {
    FreeSplash();
    return ReportStartFailure(CompanionPath(programPath), started);
  }

  // The companion's main window shows the vendor's title until this: nothing
  // the controller sets up comes before it.
  RetitleCompanionAtStart();
  Application.CreateForm(Form1);
  Application.Run();
  return 0;
}

}  // namespace

std::string CompanionPath(const std::string& programPath) {
  return programPath.substr(0, programPath.find_last_of('\\') + 1) + CompanionExeName;
}

std::string CompanionCommandLine(const std::string& programPath) {
  return "\"" + CompanionPath(programPath) + "\"";
}

int RunKestron() {
  Application.Initialize();
  int status = kFailedStatus;
  try {
    status = StartCompanionAndRun();
  } catch (...) {
    // A window that could not be made outside every event handler: at start-up,
    // or when the loop first shows the controller. The box's own loop would
    // run the controller's timers, posted pass and event hooks, so the forms
    // go first; the splash too, which stays on top and would cover the box.
    // The box comes alone and in front, as the start-failure box does.
    const std::exception_ptr failure = std::current_exception();
    Application.DestroyForms();
    FreeSplash();
    winsys::HideWindow(Application.Handle());
    winsys::ErrorBox(winsys::ExceptionMessage(failure).c_str(), Application.Title().c_str());
  }
  Application.DestroyForms();
  return status;
}
