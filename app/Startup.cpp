#include "app/Startup.h"

#include <exception>
#include <optional>

#include "text/StartFailure.h"
#include "text/TextTable.h"
#include "ui/StartupWatcher.h"
#include "ui/TitleDispatch.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Win32Windows.h"
#include "winsys/Win32Processes.h"
#include "winsys/Win32Shell.h"

using winsys::Application;

namespace {

// The longest the start waits for the companion to be ready for input: what
// the platform's own start call (WinExec) waits.
constexpr DWORD kInputIdleTimeoutMs = 30000;
constexpr UINT kChineseCodePage = 936;
// ERROR_ELEVATION_REQUIRED: the companion needs administrator rights.
constexpr DWORD kElevationRequired = 740;
// The exit status of a launcher that failed in a way the platform gave no code for.
constexpr int kFailedStatus = 1;

// The folder of a file's full path, with its final separator.
std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\') + 1);
}

// Tells the user why the companion did not start, in the system's language
// as the companion itself would speak it, and gives the exit status: the
// reason's code.
int ReportStartFailure(const std::string& path, DWORD code) {
  const bool chinese = winsys::AnsiCodePage() == kChineseCodePage;
  winsys::ErrorBox(StartFailureMessage(path, code, chinese).c_str(), BrandProduct);
  return code != 0 ? static_cast<int>(code) : kFailedStatus;
}

// The taskbar identity the companion starts with: the brand's, which the
// installer's shortcuts to the launcher carry too, so that the companion's
// button groups with them and a pin of it starts the launcher. Earlier
// systems do not know the start flag that hands it on: they get none.
const char* CompanionAppId() {
  return winsys::PlatformKnowsAppIds() ? BrandAppId : nullptr;
}

// Starts exactly the companion's file (a name without extension gets none
// added), as the user started this launcher (the shortcut's show request:
// normal, maximised, minimised), in its own folder as if started directly
// (a companion that opens its files by relative name finds them, whatever
// folder this launcher was started in), and waits as WinExec would until it
// first waits for input; closes its handles. The platform's reason when it
// did not start.
std::optional<DWORD> StartCompanion(const std::string& path) {
  // Quoted as a command line names its program: a folder with blanks would
  // otherwise split the companion's own name, its first argument.
  const winsys::StartedProcess companion = winsys::CreateProcessA(
      path.c_str(), "\"" + path + "\"", winsys::OwnShowRequest(), FolderOf(path).c_str(),
      CompanionAppId());
  if (!companion.process) return companion.lastError;
  winsys::WaitForInputIdle(companion.process, kInputIdleTimeoutMs);
  return std::nullopt;
}

// For a companion that needs administrator rights: starts this launcher
// again, elevated, from its own file and folder and as the user started it;
// the user is asked once. Starting the companion elevated alone would not
// do: the platform drops the messages of a program that is not elevated to
// one that is, so nothing would be re-labelled. An elevated launcher never
// asks, nor one that cannot tell (there is no elevation before Vista), so
// the request never comes round again. Whether the elevated launcher started
// (not when the user declined).
bool StartElevatedLauncher(HWND owner) {
  if (winsys::IsElevated() != std::optional<bool>(false)) return false;
  const std::string program = winsys::ProgramPath();
  const winsys::ShowRequest show = winsys::OwnShowRequest();
  const winsys::ShellComScope com;
  return winsys::ShellExecuteExA(owner, "runas", program.c_str(), FolderOf(program).c_str(),
                                 show.given ? show.show : SW_SHOWNORMAL);
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
  // Shown active, while nothing else of the companion's is up: the launcher
  // is then the program in front, whose child may take the front itself.
  Form2->Show();
  Form2->Repaint();  // drawn before the start's wait blocks this thread

  const std::string path = CompanionPath(winsys::ProgramPath());
  // Retitles the companion's main window while the start waits. It shares
  // nothing with this thread but its stop flag: asked to stop as soon as the
  // wait is over, whatever came of the start, it ends within one walk
  // interval, or one retitle's time-out when the companion is busy or hung,
  // and frees itself. Nothing here waits for it.
  auto* watcher = new TStartupWatcher();
  watcher->FreeOnTerminate = true;
  watcher->Resume();
  const std::optional<DWORD> failure = StartCompanion(path);
  watcher->Terminate();
  keepOnTop->Terminate();
  if (failure) {
    const bool handedOver =
        *failure == kElevationRequired && StartElevatedLauncher(splash);
    FreeSplash();
    return handedOver ? 0 : ReportStartFailure(path, *failure);
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
  return FolderOf(programPath) + CompanionExeName;
}

int RunKestron() {
  winsys::HardenLibrarySearch();
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
