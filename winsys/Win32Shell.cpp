#include "winsys/Win32Shell.h"

#include "winsys/Handles.h"

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

bool IsLeadByte(char c) { return ::IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c)) != FALSE; }

char LowerCaseChar(char c) {
  ::CharLowerBuffA(&c, 1);
  return c;
}

namespace {

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0)), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), n, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

// What the console handler shares with the rest of the program.
HANDLE g_stop = nullptr;
HANDLE g_done = nullptr;
DWORD g_graceMs = 0;

BOOL WINAPI OnConsoleControl(DWORD event) {
  ::SetEvent(g_stop);
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) ::WaitForSingleObject(g_done, g_graceMs);
  return TRUE;
}

}  // namespace

std::string AnsiToUtf8(std::string_view text) {
  const std::wstring wide = AnsiToWide(text);
  if (wide.empty()) return {};
  const int n = static_cast<int>(wide.size());
  std::string utf8(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

void WriteStd(StdStream stream, std::string_view text) {
  const HANDLE out = ::GetStdHandle(stream == StdStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (::GetConsoleMode(out, &mode)) {
    const std::wstring wide = AnsiToWide(text);
    ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

void HandleConsoleStop(HANDLE stop, HANDLE done, DWORD graceMs) {
  g_stop = stop;
  g_done = done;
  g_graceMs = graceMs;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool OwnsConsoleAlone() {
  DWORD processes[2] = {};
  DWORD mode = 0;
  return ::GetConsoleProcessList(processes, 2) == 1 &&
         ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode);
}

void WaitForEnter() {
  const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  ::FlushConsoleInputBuffer(in);
  char line[64];
  DWORD read = 0;
  ::ReadConsoleA(in, line, sizeof line, &read, nullptr);
}

SYSTEMTIME LocalTime() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now;
}

std::string CurrentFolder() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = ::GetCurrentDirectoryA(sizeof buffer, buffer);
  std::string folder = n > 0 && n < sizeof buffer ? buffer : ".";
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

DWORD WriteNewFile(const std::string& path, std::string_view bytes) {
  const HANDLE made = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made == INVALID_HANDLE_VALUE) return ::GetLastError();
  KernelHandle file(made);
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    const DWORD code = ::GetLastError();
    file.Reset();
    ::DeleteFileA(path.c_str());  // no half-written file is left behind
    return code != ERROR_SUCCESS ? code : ERROR_WRITE_FAULT;
  }
  return ERROR_SUCCESS;
}

std::string ErrorText(DWORD code) {
  char buffer[512] = {};
  const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}

}  // namespace winsys
