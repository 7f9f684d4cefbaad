#include "app/Startup.h"

#include "text/TextTable.h"
#include "ui/uShowTop.h"
#include "ui/ufrmMain.h"
#include "winsys/Forms.h"
#include "winsys/Win32.h"

using winsys::Application;

std::string CompanionCommandLine(const std::string& programPath) {
  const std::string folder = programPath.substr(0, programPath.find_last_of('\\') + 1);
  return "\"" + folder + CompanionExeName + "\"";
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

  winsys::WinExec(CompanionCommandLine(winsys::ProgramPath()).c_str());
  keepOnTop->Terminate();

  Application.CreateForm(Form1);
  Application.Run();
  Application.DestroyForms();
  return 0;
}
