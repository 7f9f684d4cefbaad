#include "winsys/Win32Shell.h"

#include <objbase.h>
#include <shellapi.h>

namespace winsys {

void ErrorBox(const char* text, const char* caption) {
  ::MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

UINT AnsiCodePage() { return ::GetACP(); }

void ShellExecuteA(HWND owner, const char* verb, const char* file) {
  ::ShellExecuteA(owner, verb, file, nullptr, nullptr, SW_SHOWNORMAL);
}

bool ShellExecuteExA(HWND owner, const char* verb, const char* file, const char* folder,
                     int show) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // The caller may end right after the call: the shell finishes before it returns.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = verb;
  info.lpFile = file;
  info.lpDirectory = folder;
  info.nShow = show;
  return ::ShellExecuteExA(&info) != FALSE;
}

ShellComScope::ShellComScope()
    : initialised_(
          SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
}

ShellComScope::~ShellComScope() {
  if (initialised_) ::CoUninitialize();
}

void Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }
int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

bool CompareStringNoCase(std::string_view a, std::string_view b) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace winsys
