#include "tests/support/Processes.h"

#include <fstream>
#include <iterator>

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

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& folder,
                           std::optional<WORD> show, const std::string& outputFile) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = show ? STARTF_USESHOWWINDOW : 0;
  si.wShowWindow = show.value_or(0);
  winsys::KernelHandle output;  // the child's copy is inherited; this one closes here
  if (!outputFile.empty()) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE made = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) return;
    output = winsys::KernelHandle(made);
    si.dwFlags |= STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = output.get();
  }
  PROCESS_INFORMATION info{};
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, output ? TRUE : FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &info))
    return;
  const winsys::KernelHandle unused(info.hThread);  // the process is all the tests watch
  process_ = winsys::KernelHandle(info.hProcess);
  pid_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!WaitUntil([&] { return !Running(); }, timeoutMs)) return false;
  if (exitCode) GetExitCodeProcess(process_.get(), exitCode);
  return true;
}

void ChildProcess::Kill() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

std::vector<PROCESSENTRY32> RunningProcesses() {
  std::vector<PROCESSENTRY32> processes;
  const HANDLE made = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  const winsys::KernelHandle snapshot(made == INVALID_HANDLE_VALUE ? nullptr : made);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry))
    processes.push_back(entry);
  return processes;
}

std::vector<DWORD> ProcessIdsNamed(const std::string& exeName) {
  std::vector<DWORD> found;
  for (const PROCESSENTRY32& entry : RunningProcesses())
    if (exeName == entry.szExeFile) found.push_back(entry.th32ProcessID);
  return found;
}

bool KillProcessesNamed(const std::string& exeName) {
  for (DWORD pid : ProcessIdsNamed(exeName)) {
    const winsys::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process) continue;
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
  }
  return WaitUntil([&] { return ProcessIdsNamed(exeName).empty(); }, 5000);
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

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((folder + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}
