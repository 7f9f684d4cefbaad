// The installer resellers ship, run silently as their own setup programs run
// it: what it writes, what it refuses, and that its uninstaller takes back
// exactly that. The 64-bit build runs the 64-bit test-only installer.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "tests/support/Languages.h"
#include "tests/support/TestSupport.h"
#include "text/TextTable.h"

namespace {

constexpr char kUninstallKeys[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestron";
constexpr char kUninstaller[] = "Kestron-uninstall.exe";
constexpr DWORD kSetupBoundMs = 60000;
constexpr DWORD kExitNoCompanion = 2;
constexpr DWORD kExitKestronRuns = 3;
constexpr DWORD kExitNotAdmin = 4;
// The registry view an installer of this build's bitness writes.
constexpr REGSAM kInstallerView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

std::string SetupProgram() { return BinFolder() + "..\\" KESTRON_SETUP; }

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WithoutSlash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

std::string ShortcutIn(int csidl) {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, folder);
  return std::string(folder) + "\\" + BrandInstallerTitle + ".lnk";
}
const int kShortcutFolders[] = {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY};

struct Link {
  std::string target, folder, icon;
  int iconIndex = -1;
};

Link ReadLink(const std::string& path) {
  Link link;
  CoInitialize(nullptr);
  IShellLinkA* shell = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shell))) &&
      SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring wide(path.begin(), path.end());
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
      char text[MAX_PATH] = {};
      shell->GetPath(text, MAX_PATH, nullptr, 0);
      link.target = text;
      shell->GetWorkingDirectory(text, MAX_PATH);
      link.folder = text;
      shell->GetIconLocation(text, MAX_PATH, &link.iconIndex);
      link.icon = text;
    }
  }
  if (file) file->Release();
  if (shell) shell->Release();
  CoUninitialize();
  return link;
}

// An uninstall entry, opened in the installer's view; closed on destruction.
class Entry {
 public:
  explicit Entry(const std::string& path = kUninstallKey, REGSAM access = KEY_READ) {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access | kInstallerView, &key_))
      key_ = nullptr;
  }
  ~Entry() {
    if (key_) RegCloseKey(key_);
  }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;
  HKEY Key() const { return key_; }
  // A value; a DWORD comes as its decimal digits.
  std::string Value(const char* name) const {
    BYTE data[1024] = {};
    DWORD type = 0, size = sizeof data - 1;
    if (!key_ || RegQueryValueExA(key_, name, nullptr, &type, data, &size)) return "<missing>";
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data))
                             : std::string(reinterpret_cast<char*>(data));
  }

 private:
  HKEY key_ = nullptr;
};

bool KeyExists() { return Entry().Key() != nullptr; }

// How many uninstall entries carry the launcher's name.
int KestronEntries() {
  Entry all(kUninstallKeys);
  int count = 0;
  char name[256];
  for (DWORD i = 0, size = sizeof name;
       all.Key() && !RegEnumKeyExA(all.Key(), i, name, &size, nullptr, nullptr, nullptr, nullptr);
       ++i, size = sizeof name)
    count +=
        Entry(std::string(kUninstallKeys) + "\\" + name).Value("DisplayName") == BrandInstallerTitle;
  return count;
}

// A text of a file's version resource, from its first translation.
std::string VersionText(const std::string& file, const char* name) {
  std::string block(GetFileVersionInfoSizeA(file.c_str(), nullptr), '\0');
  WORD* translation = nullptr;
  char* value = nullptr;
  UINT length = 0;
  if (block.empty() || !GetFileVersionInfoA(file.c_str(), 0, block.size(), block.data()) ||
      !VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length))
    return "<missing>";
  char path[64];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1],
                name);
  if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&value), &length))
    return "<missing>";
  return value;
}

// Runs a command as this user with the Administrators group kept only to
// deny, as a limited user of Windows XP runs it; its exit status.
DWORD RunWithoutAdministratorRights(const std::string& commandLine) {
  HANDLE own = nullptr, limited = nullptr;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  DWORD status = 99;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own) &&
      AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                               0, 0, 0, 0, &admins)) {
    SID_AND_ATTRIBUTES denyOnly{admins, 0};
    if (CreateRestrictedToken(own, 0, 1, &denyOnly, 0, nullptr, 0, nullptr, &limited)) {
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION started{};
      std::string line = commandLine;
      if (CreateProcessAsUserA(limited, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started)) {
        WaitForSingleObject(started.hProcess, kSetupBoundMs);
        GetExitCodeProcess(started.hProcess, &status);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
      }
      CloseHandle(limited);
    }
  }
  if (admins) FreeSid(admins);
  if (own) CloseHandle(own);
  return status;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    folder_.CopyIn(BinFolder() + "Korvastel", "Korvastel");
    // A file of the companion's own.
    std::ofstream(folder_.Path() + "Korvastel.ini", std::ios::binary) << "[port]\nusb=1\n";
  }
  void TearDown() override { Clean(); }

  // Leaves nothing of an earlier case: no entry, no shortcut.
  static void Clean() {
    Entry all(kUninstallKeys, KEY_WRITE);
    if (all.Key()) RegDeleteKeyA(all.Key(), "Kestron");
    for (int csidl : kShortcutFolders) DeleteFileA(ShortcutIn(csidl).c_str());
  }

  static DWORD Install(const TempFolder& folder) {
    ChildProcess setup("\"" + SetupProgram() + "\" /S /D=" + WithoutSlash(folder.Path()));
    DWORD status = 99;
    EXPECT_TRUE(setup.WaitExit(kSetupBoundMs, &status)) << "the installer did not end";
    return status;
  }
  // The uninstaller hands over to a copy of itself and returns: wait for the copy's work.
  static void Uninstall(const TempFolder& folder) {
    ChildProcess uninstaller("\"" + folder.Path() + kUninstaller + "\" /S");
    ASSERT_TRUE(uninstaller.WaitExit(kSetupBoundMs));
    ASSERT_TRUE(WaitUntil([&] { return !Exists(folder.Path() + kUninstaller); }, kSetupBoundMs));
  }
  void ExpectTheBuildInstalledIn(const TempFolder& folder) {
    EXPECT_EQ(FileBytes(folder.Path() + "Kestron.exe"), FileBytes(BinFolder() + "Kestron.exe"));
    EXPECT_TRUE(Exists(folder.Path() + kUninstaller));
  }
  void ExpectTheCompanionUntouched() {
    EXPECT_EQ(FileBytes(folder_.Path() + "Korvastel"), FileBytes(BinFolder() + "Korvastel"));
    EXPECT_EQ(FileBytes(folder_.Path() + "Korvastel.ini"), "[port]\nusb=1\n");
  }
  void ExpectNothingOfKestron(const TempFolder& folder) {
    EXPECT_FALSE(Exists(folder.Path() + "Kestron.exe"));
    EXPECT_FALSE(Exists(folder.Path() + kUninstaller));
    EXPECT_FALSE(KeyExists());
    for (int csidl : kShortcutFolders) EXPECT_FALSE(Exists(ShortcutIn(csidl))) << ShortcutIn(csidl);
  }

  TempFolder folder_{"Kestron installer"};
  NoCompanionLeft noCompanion_;  // ended before the folder goes
};

// Status 0 also says that every call giving the shortcuts the taskbar
// identity succeeded; a failed one ends the setup with 5. Wine answers those
// calls but stores nothing, so the identity itself cannot be read back here.
TEST_F(Installer, InstallsBesideTheCompanionAndTheShortcutStartsIt) {
  ASSERT_EQ(Install(folder_), 0u);
  ExpectTheBuildInstalledIn(folder_);
  const std::string exe = folder_.Path() + "Kestron.exe";
  const std::string uninstaller = folder_.Path() + kUninstaller;
  for (int csidl : kShortcutFolders) {
    SCOPED_TRACE(ShortcutIn(csidl));
    const Link link = ReadLink(ShortcutIn(csidl));
    EXPECT_EQ(link.target, exe);
    EXPECT_EQ(link.folder, WithoutSlash(folder_.Path()));
    EXPECT_EQ(link.icon, exe);
    EXPECT_EQ(link.iconIndex, 0);
  }

  const std::pair<const char*, std::string> entry[] = {
      {"DisplayName", BrandInstallerTitle},
      {"DisplayVersion", "1.0"},
      {"Publisher", BrandPublisher},
      {"DisplayIcon", exe + ",0"},
      {"InstallLocation", WithoutSlash(folder_.Path())},
      {"UninstallString", "\"" + uninstaller + "\""},
      {"QuietUninstallString", "\"" + uninstaller + "\" /S"},
      {"EstimatedSize",  // KiB, rounded up
       std::to_string((FileBytes(exe).size() + FileBytes(uninstaller).size() + 1023) / 1024)},
  };
  for (const auto& [name, value] : entry) EXPECT_EQ(Entry().Value(name), value) << name;
  // The setup program carries the launcher's own product, maker and version.
  for (const char* name : {"ProductName", "CompanyName", "ProductVersion"})
    EXPECT_EQ(VersionText(SetupProgram(), name), VersionText(exe, name)) << name;

  ShellExecuteA(nullptr, "open", ShortcutIn(CSIDL_COMMON_PROGRAMS).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
  const DWORD companion = WaitForCompanion();
  ASSERT_NE(companion, 0u);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(CompanionMainWindow(companion)) == BrandMainEn; }))
      << "the installed launcher relabels the companion's main window";
}

TEST_F(Installer, RefusesAFolderWithoutAFileNamedKorvastelAndWritesNothing) {
  const struct {
    const char* what;
    std::function<void(TempFolder&)> prepare;
  } rows[] = {
      {"an empty folder", [](TempFolder&) {}},
      {"Korvastel.exe",
       [](TempFolder& f) { f.CopyIn(BinFolder() + "Korvastel", "Korvastel.exe"); }},
      {"a folder named Korvastel",
       [](TempFolder& f) { CreateDirectoryA((f.Path() + "Korvastel").c_str(), nullptr); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder folder("Kestron no companion");
    row.prepare(folder);
    EXPECT_EQ(Install(folder), kExitNoCompanion);
    ExpectNothingOfKestron(folder);
    RemoveDirectoryA((folder.Path() + "Korvastel").c_str());
  }
}

// Windows XP lets a user without administrator rights start them (it knows
// no elevation): both refuse, and write and remove nothing.
TEST_F(Installer, InstallAndUninstallRefuseAUserWithoutAdministratorRights) {
  EXPECT_EQ(RunWithoutAdministratorRights("\"" + SetupProgram() + "\" /S /D=" +
                                          WithoutSlash(folder_.Path())),
            kExitNotAdmin);
  ExpectNothingOfKestron(folder_);
  ASSERT_EQ(Install(folder_), 0u);
  EXPECT_EQ(RunWithoutAdministratorRights("\"" + folder_.Path() + kUninstaller + "\" /S _?=" +
                                          WithoutSlash(folder_.Path())),
            kExitNotAdmin);
  ExpectTheBuildInstalledIn(folder_);
  EXPECT_TRUE(KeyExists());
}

TEST_F(Installer, UninstallRemovesExactlyWhatItAdded) {
  ASSERT_EQ(Install(folder_), 0u);
  Uninstall(folder_);
  ExpectNothingOfKestron(folder_);
  ExpectTheCompanionUntouched();
}

TEST_F(Installer, UpgradeLeavesOneLauncherAndOneEntry) {
  ASSERT_EQ(Install(folder_), 0u);
  folder_.CopyIn(BinFolder() + "Korvastel", "Kestron.exe");  // stands for an older launcher
  ASSERT_EQ(Install(folder_), 0u);
  ExpectTheBuildInstalledIn(folder_);
  EXPECT_EQ(KestronEntries(), 1);

  // Installed again beside a companion elsewhere: the first install goes.
  TempFolder moved("Kestron installer moved");
  moved.CopyIn(BinFolder() + "Korvastel", "Korvastel");
  ASSERT_EQ(Install(moved), 0u);
  ExpectTheBuildInstalledIn(moved);
  EXPECT_EQ(KestronEntries(), 1);
  EXPECT_EQ(Entry().Value("InstallLocation"), WithoutSlash(moved.Path()));
  EXPECT_FALSE(Exists(folder_.Path() + "Kestron.exe"));
  EXPECT_FALSE(Exists(folder_.Path() + kUninstaller));
  ExpectTheCompanionUntouched();
}

TEST_F(Installer, StopsOnlyWhileKestronRunsFromTheChosenFolder) {
  // A program named Kestron.exe elsewhere is not the launcher being replaced.
  TempFolder elsewhere("Kestron elsewhere");
  elsewhere.CopyIn(BinFolder() + "Korvastel", "Kestron.exe");
  ChildProcess other("\"" + elsewhere.Path() + "Kestron.exe\"");
  folder_.CopyIn(BinFolder() + "Korvastel", "Kestron.exe");  // an older launcher, running
  ChildProcess old("\"" + folder_.Path() + "Kestron.exe\"");
  ASSERT_TRUE(StartCompanion(other));
  ASSERT_TRUE(StartCompanion(old));

  EXPECT_EQ(Install(folder_), kExitKestronRuns);
  EXPECT_EQ(FileBytes(folder_.Path() + "Kestron.exe"), FileBytes(BinFolder() + "Korvastel"));
  EXPECT_FALSE(Exists(folder_.Path() + kUninstaller));
  EXPECT_FALSE(KeyExists());

  old.Kill();
  EXPECT_EQ(Install(folder_), 0u);
  ExpectTheBuildInstalledIn(folder_);
}

// The directory page, as a user sees it: Next only for the companion's folder.
class DirectoryPage : public Installer, public ::testing::WithParamInterface<Language> {};

TEST_P(DirectoryPage, EnablesNextOnlyForTheCompanionsFolder) {
  // The hint under the folder, in the system's language: "此文件夹中没有 Korvastel。"
  const std::string hintText =
      GetParam().chinese
          ? "\xB4\xCB\xCE\xC4\xBC\xFE\xBC\xD0\xD6\xD0\xC3\xBB\xD3\xD0 Korvastel\xA1\xA3"
          : "This folder does not hold Korvastel.";
  TempFolder empty("Kestron empty");
  ChildProcess setup("\"" + SetupProgram() + "\" /D=" + WithoutSlash(empty.Path()));
  HWND wizard = nullptr, page = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    wizard = TopWindowOfClass(setup.Pid(), "#32770");
    page = wizard ? FindWindowExA(wizard, nullptr, "#32770", nullptr) : nullptr;
    return page && GetDlgItem(page, 1024);  // its last control
  }));
  HWND next = GetDlgItem(wizard, IDOK);
  HWND folder = GetDlgItem(page, 1019), hint = GetDlgItem(page, 1024);
  const struct {
    std::string folder;
    bool nextEnabled;
    std::string hint;
  } rows[] = {
      {empty.Path(), false, hintText}, {folder_.Path(), true, ""}, {empty.Path(), false, hintText}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.folder);
    SetWindowTextA(folder, WithoutSlash(row.folder).c_str());
    EXPECT_TRUE(WaitUntil([&] {
      return (IsWindowEnabled(next) != FALSE) == row.nextEnabled && WindowText(hint) == row.hint;
    })) << "Next enabled: "
        << IsWindowEnabled(next) << ", hint: " << WindowText(hint);
  }
}

INSTANTIATE_IN_BOTH_LANGUAGES(DirectoryPage);

}  // namespace
