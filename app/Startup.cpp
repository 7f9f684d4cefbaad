#include "app/Startup.h"

#include "text/StartFailure.h"
#include "text/TextTable.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Application.h"
#include "winsys/Win32.h"

using winsys::Application;

namespace {

// WinExec's results up to this one mean the program was not started.
constexpr UINT kLastStartFailure = 31;
constexpr UINT kChineseCodePage = 936;

// Tells the user why the companion did not start, in the system's language
// as the companion itself would speak it, and gives the exit status.
int ReportStartFailure(const std::string& path, UINT result) {
  const bool chinese = winsys::AnsiCodePage() == kChineseCodePage;
  winsys::ErrorBox(StartFailureMessage(path, result, chinese).c_str(), BrandProduct);
  return result != 0 ? static_cast<int>(result) : 1;
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
  auto* keepOnTop = new TMythread();  // frees itself when its loop ends
  keepOnTop->FreeOnTerminate = true;
  Form2 = new TForm2();
  keepOnTop->FTargetWnd = Form2->Handle();
  keepOnTop->Resume();
  Form2->Show();
  Form2->Repaint();  // drawn before WinExec blocks this thread

  const std::string programPath = winsys::ProgramPath();
  const UINT started = winsys::WinExec(CompanionCommandLine(programPath).c_str());
  keepOnTop->Terminate();
  if (started <= kLastStartFailure) {
    FreeSplash();
    return ReportStartFailure(CompanionPath(programPath), started);
  }

  Application.CreateForm(Form1);
  // The controller's first re-label pass, before the event loop shows the
  // controller form: the companion's main window is up by now.
  Application.ProcessMessages();
  Application.Run();
  Application.DestroyForms();
  return 0;
}
