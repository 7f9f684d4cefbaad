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
