// Child processes, the environment they inherit, and scratch folders.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "winsys/Handles.h"

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

// A child process, ended on destruction if still running; started with the
// show request given, as a shortcut gives one, or none; given a file, with its
// standard output and error written there and no standard input.
class ChildProcess {
 public:
  explicit ChildProcess(const std::string& commandLine, const std::string& folder = "",
                        std::optional<WORD> show = std::nullopt,
                        const std::string& outputFile = "");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  bool Started() const { return static_cast<bool>(process_); }
  DWORD Pid() const { return pid_; }
  bool Running() const;
  // Waits for the exit; false when the time is up.
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();

 private:
  winsys::KernelHandle process_;
  DWORD pid_ = 0;
};

// Every running process, as the process list has it now.
std::vector<PROCESSENTRY32> RunningProcesses();
// The ids of the running processes with this executable name.
std::vector<DWORD> ProcessIdsNamed(const std::string& exeName);
// Ends every running process with this executable name; true when none is left.
bool KillProcessesNamed(const std::string& exeName);
// A file's lines, without line ends.
std::vector<std::string> ReadLines(const std::string& path);
// A file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// The names of the files in a folder that match a pattern ("*.html").
std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern);
