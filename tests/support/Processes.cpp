#include "tests/support/Processes.h"

#include <tlhelp32.h>

#include <fstream>

#include "tests/support/Wait.h"

std::string BinFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\') + 1);
}

TempFolder::TempFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + name + " " + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) Remove(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path_.c_str());
}

void TempFolder::CopyIn(const std::string& source, const std::string& name) {
  CopyFileA(source.c_str(), (path_ + name).c_str(), FALSE);
}

void TempFolder::Remove(const std::string& name) {
  // A program that has just ended may hold its file a moment longer.
  WaitUntil(
      [&] { return DeleteFileA((path_ + name).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
      3000);
}

ScopedEnv::ScopedEnv(std::vector<std::pair<std::string, std::string>> vars) {
  for (auto& [name, value] : vars) {
    char old[1024] = {};
    DWORD n = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
    saved_.emplace_back(name, n ? std::string(old) : std::string("\x01"));
    SetEnvironmentVariableA(name.c_str(), value.c_str());
  }
}

ScopedEnv::~ScopedEnv() {
  for (auto& [name, value] : saved_)
    SetEnvironmentVariableA(name.c_str(), value == "\x01" ? nullptr : value.c_str());
}

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& folder) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &info_))
    info_ = {};
}

ChildProcess::~ChildProcess() {
  Kill();
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (info_.hThread) CloseHandle(info_.hThread);
}

bool ChildProcess::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!WaitUntil([&] { return !Running(); }, timeoutMs)) return false;
  if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

void ChildProcess::Kill() {
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

namespace {

// The ids of the processes with this executable name.
std::vector<DWORD> ProcessIdsNamed(const std::string& exeName) {
  std::vector<DWORD> found;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32First(snap, &e); ok; ok = Process32Next(snap, &e))
    if (exeName == e.szExeFile) found.push_back(e.th32ProcessID);
  CloseHandle(snap);
  return found;
}

}  // namespace

bool KillProcessesNamed(const std::string& exeName) {
  auto pids = [&] { return ProcessIdsNamed(exeName); };
  for (DWORD pid : pids()) {
    if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
      TerminateProcess(h, 1);
      WaitForSingleObject(h, 5000);
      CloseHandle(h);
    }
  }
  return WaitUntil([&] { return pids().empty(); }, 5000);
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}
