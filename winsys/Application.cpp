#include "winsys/Application.h"

#include <exception>

#include "winsys/Failure.h"
#include "winsys/Win32Processes.h"
#include "winsys/Win32Shell.h"

namespace winsys {

TApplication Application;

namespace {

constexpr char kApplicationClass[] = "TApplication";

}  // namespace

void TApplication::Initialize() {
  RegisterClassOnce(kApplicationClass, WindowProc, ::LoadCursorA(nullptr, IDC_ARROW));
  ::CreateWindowExA(0, kApplicationClass, Title().c_str(),
                    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                    ScreenWidth() / 2, ScreenHeight() / 2, 0, 0, nullptr, nullptr, Instance(),
                    this);
}

// Forms are owned by this window: a handle kept after it was destroyed would
// make every later form's creation fail.
LRESULT CALLBACK TApplication::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  BindWindow<TApplication>(wnd, msg, lp);
  return ::DefWindowProcA(wnd, msg, wp, lp);
}

std::string TApplication::Title() const {
  std::string name = ProgramPath();
  name = name.substr(name.find_last_of("\\/") + 1);
  name = name.substr(0, name.find_last_of('.'));
  if (name.empty()) return name;
  // By characters of the code page, not bytes: a byte of a Chinese character
  // may look like an upper-case letter.
  char* rest = ::CharNextA(name.data());
  ::CharLowerBuffA(rest, static_cast<DWORD>(name.data() + name.size() - rest));
  return name;
}

// By the time the loop runs the companion is in front, with the user's
// keyboard: the launcher's windows come up beside it without taking either.
void TApplication::Run() {
  if (handle_) ::ShowWindow(handle_, SW_SHOWNOACTIVATE);
  if (mainForm_) mainForm_->ShowWithoutActivating();
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void TApplication::DestroyForms() {
  while (!forms_.empty()) {
    forms_.back().form.reset();
    forms_.back().clearReference();
    forms_.pop_back();
  }
  mainForm_ = nullptr;
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

void TApplication::HandleEvent(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    // The box's own loop runs the events on: an error that repeats on every
    // tick would open a box per tick, each inside the one before.
    if (showingEventError_) {
      TraceIgnoredFailure("an event while its error box is open",
                          ExceptionMessage(std::current_exception()).c_str());
      return;
    }
    showingEventError_ = true;
    ShowException(std::current_exception());
    showingEventError_ = false;
  }
}

void TApplication::ShowException(const std::exception_ptr& error) {
  ::MessageBoxA(handle_, ExceptionMessage(error).c_str(), Title().c_str(), MB_OK | MB_ICONERROR);
}

std::string ExceptionMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "Unknown error";
}

}  // namespace winsys
