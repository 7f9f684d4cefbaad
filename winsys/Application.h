// The application object: its own top-level window, the forms it creates and
// the event loop that runs them.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "winsys/Form.h"
#include "winsys/FrameworkWindow.h"

namespace winsys {

class TApplication {
 public:
  // Creates the application's own top-level window, which owns every form
  // window and, while visible, carries the taskbar button.
  void Initialize();
  // Creates a form, stores it in ref and keeps it; the first is the main form.
  template <typename F>
  void CreateForm(F*& ref) {
    auto form = std::make_unique<F>();
    F* created = form.get();
    forms_.push_back({std::move(form), [&ref] { ref = nullptr; }});
    ref = created;
    if (!mainForm_) mainForm_ = created;
  }
  // Shows the main form normally, without activating it, and dispatches
  // messages until a quit.
  void Run();
  // Destroys the forms created with CreateForm, newest first, and clears the
  // references they were stored in.
  void DestroyForms();
  void Terminate();
  HWND Handle() const { return handle_; }
  TForm* MainForm() const { return mainForm_; }
  // The executable's name without folder and extension, lower case after the first letter.
  std::string Title() const;

  // Runs an event handler; an error leaving it is shown in a message box and
  // the loop goes on. While that box is open, errors of further events are
  // ignored: the box's loop runs them.
  void HandleEvent(const std::function<void()>& handler);
  // The error box of an event: the error's message, an error icon, the title
  // as caption, owned by the application's window.
  void ShowException(const std::exception_ptr& error);

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  friend TApplication* BindWindow<TApplication>(HWND, UINT, LPARAM);

  HWND handle_ = nullptr;  // 0 again once the window is destroyed
  TForm* mainForm_ = nullptr;
  bool showingEventError_ = false;
  struct CreatedForm {
    std::unique_ptr<TForm> form;
    std::function<void()> clearReference;
  };
  std::vector<CreatedForm> forms_;
};

extern TApplication Application;

// An error's message, for an error box.
std::string ExceptionMessage(const std::exception_ptr& error);

}  // namespace winsys
