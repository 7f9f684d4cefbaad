// What the tests share: bounded waits, child processes, scratch folders and
// test windows. Every wait here ends by itself.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Polls the condition, processing this thread's messages in between, until it
// holds or the time is up. Returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// Processes this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

// The folder of the running test program, with its trailing backslash: the
// launcher and the stand-in companion are built beside it.
std::string BinFolder();

// A folder under %TEMP%, removed with everything in it on destruction.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }  // with trailing backslash
  void CopyIn(const std::string& source, const std::string& name);
  void Remove(const std::string& name);

 private:
  std::string path_;
};

// Sets environment variables for processes started while it lives.
class ScopedEnv {
 public:
  explicit ScopedEnv(std::vector<std::pair<std::string, std::string>> vars);
  ~ScopedEnv();

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

// A child process, ended on destruction if still running.
class ChildProcess {
 public:
  explicit ChildProcess(const std::string& commandLine, const std::string& folder = "");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Pid() const { return info_.dwProcessId; }
  bool Running() const;
  // Waits for the exit; false when the time is up.
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// Top-level windows of a process, in z-order.
std::vector<HWND> TopWindowsOf(DWORD pid);
// The first top-level window of the process with this class name, or 0.
HWND TopWindowOfClass(DWORD pid, const std::string& className);
// A file's lines, without line ends.
std::vector<std::string> ReadLines(const std::string& path);
std::string WindowText(HWND wnd);
// Whether the window's client area (the screen for window 0) shows this
// program's bitmap resource at its natural size from `at`, judged on a grid
// of points over `width` x `height` of the picture.
bool ShowsPicture(HWND wnd, POINT at, const char* resource, int width, int height);
// Whether the screen shows the launcher's overlay picture at the About box's client origin.
bool OverlayOnScreen(HWND about);

// The ids of the processes with this executable name, in snapshot order.
std::vector<DWORD> ProcessIdsNamed(const std::string& exeName);
// Ends every running process with this executable name; true when none is left.
bool KillProcessesNamed(const std::string& exeName);

// The stand-in companion's windows and commands.
HWND CompanionMainWindow(DWORD pid);
HWND CompanionAboutBox(DWORD pid);
void SendCompanionCommand(DWORD pid, int command, LPARAM argument = 0);
// Starts a stand-in companion from `path` and waits until its main window exists.
bool StartCompanion(ChildProcess& process);
