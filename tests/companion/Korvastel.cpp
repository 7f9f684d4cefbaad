// A stand-in for the companion program, for the tests and the demo: a small
// programmer front end that shows the companion's titles and texts in English
// or Chinese (GBK). Environment variables, passed on by the launcher:
//   KORVASTEL_LANG    "cn" for the Chinese windows, else English
//   KORVASTEL_START   "about" opens the About box, "connfail" the
//                     connection-failure box, "hidden" shows no window,
//                     "disabled" shows its main window disabled, "unknown"
//                     adds a product and a company text to its main window
//                     (CompanionProtocol.h)
//   KORVASTEL_REPORT  a file to which it appends what it saw at start-up (its
//                     current folder, the show request it was given; it covers the launcher's
//                     splash a moment to see it come back on top) and when it
//                     shows its windows
//   KORVASTEL_START_DELAY_MS  waits this long before showing anything
//   KORVASTEL_ABOUT_AFTER_MS  opens the About box this long after starting
//   KORVASTEL_WINDOWS_EVENTS  "1" raises the window events Windows raises
//                     itself when a window or control is shown or renamed
//                     or an edit control's text changes, and Wine 8 does not
//                     (it raises only the creation event)
//   KORVASTEL_RENAMES_PER_SECOND  renames the main window this often
//   KORVASTEL_DEAF_MS  reads no messages for this long after showing its
//                     main window, as while it probes a device
//   KORVASTEL_LOG_PER_SECOND  appends a line to its log control this often
//   KORVASTEL_BUSY_MS  keeps working this long after showing its main window:
//                     steps it posts to itself, one after the other, so that
//                     it never waits for input meanwhile but serves the
//                     messages other programs send it between two steps
// Commands come as WM_COMMAND to the main window (see CompanionCommand).
// With KORVASTEL_REPORT it also stamps the moment each of its windows and
// controls receives another program's change: "retitled main|about <count>",
// "settext <id> <count>", "cut <id> <count>" (the replace that ends a cut),
// "hidden <id> <count>"; and, around a selection another program makes,
// "selecting <id> <count>" when it comes and "selected <id> <count>" when the
// control is done with it; and "about-shown <count>" once an About box's show
// returned.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "tests/companion/CompanionProtocol.h"

namespace {

// The companion's own titles and its vendor's address, as it shows them; the
// Chinese ones are GBK bytes. Written here, not taken from the launcher, so
// that a wrong byte on the launcher's side shows.
constexpr char kVendorAddress[] = "www.ostrelprog.example";
constexpr char kTitleMainEn[] = "Ostrel Programmer         www.ostrelprog.example";
constexpr char kTitleMainCn[] =  // "Tamsu编程器         www.ostrelprog.example"
    "Tamsu\xB1\xE0\xB3\xCC\xC6\xF7         www.ostrelprog.example";
constexpr char kTitleAboutEn[] = "About Ostrel Programmer";
constexpr char kTitleAboutCn[] =
    "\xB9\xD8\xD3\xDA Tamsu\xB1\xE0\xB3\xCC\xC6\xF7";  // "关于 Tamsu编程器"
constexpr char kTitleConnFailEn[] = "Failed to connect programmer";
constexpr char kTitleConnFailCn[] =  // "编程器连接失败"
    "\xB1\xE0\xB3\xCC\xC6\xF7\xC1\xAC\xBD\xD3\xCA\xA7\xB0\xDC";

enum Timer { kAboutTimer = 1, kRenameTimer = 2, kLogTimer = 3 };
// One start-up step of a busy companion, posted to its main window.
constexpr UINT kBusyStep = WM_APP + 1;
// Each busy step waits this long, as for a device.
constexpr DWORD kBusyStepMs = 1;

HINSTANCE g_instance;
HWND g_main;
HWND g_about;
bool g_chinese;
DWORD g_busyUntil;  // the tick count until which start-up steps go on

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// The moment, on the performance counter, that the benchmark measures from.
LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::string Stamp(const char* what) { return std::string(what) + " " + std::to_string(Now()); }

void Report(const std::string& line) {
  const std::string path = Env("KORVASTEL_REPORT");
  if (path.empty()) return;
  if (FILE* f = std::fopen(path.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
    if (w == upper) return true;
  return false;
}

// Records the launcher's splash as it is before this program shows anything.
// A topmost window of this program covers it for a moment: the launcher,
// blocked while this program starts, must bring its splash back on top.
void ReportSplash() {
  HWND splash = FindWindowA("TForm2", nullptr);
  if (!splash || Env("KORVASTEL_REPORT").empty()) return;
  HWND cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 8, 8,
                               nullptr, nullptr, g_instance, nullptr);
  Sleep(100);
  RECT r;
  GetWindowRect(splash, &r);
  char line[160];
  std::snprintf(line, sizeof line, "splash %ld %ld %ld %ld visible=%d back-on-top=%d", r.left,
                r.top, r.right - r.left, r.bottom - r.top, IsWindowVisible(splash) ? 1 : 0,
                Above(splash, cover) ? 1 : 0);
  Report(line);
  DestroyWindow(cover);
}

const char* T(const char* en, const char* cn) { return g_chinese ? cn : en; }

// What Windows reports to window-event hooks by itself.
void RaiseWindowEvent(DWORD event, HWND wnd) {
  if (Env("KORVASTEL_WINDOWS_EVENTS") == "1")
    NotifyWinEvent(event, wnd, OBJID_WINDOW, CHILDID_SELF);
}

void Show(HWND wnd, int how) {
  ShowWindow(wnd, how);
  RaiseWindowEvent(EVENT_OBJECT_SHOW, wnd);
}

// The report of a control's own change, as Windows raises it (an edit
// control's text is its value, another control's its name).
void RaiseControlEvent(HWND control, DWORD event, LONG object) {
  if (Env("KORVASTEL_WINDOWS_EVENTS") == "1") NotifyWinEvent(event, control, object, CHILDID_SELF);
}

bool IsEdit(HWND control) {
  char name[32] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "EDIT") == 0 || lstrcmpiA(name, "RICHEDIT") == 0;
}

// Stamps `what` with the moment it came, once the sender has its answer, so
// that the stamp costs the sender nothing.
void StampReceived(const std::string& what, LONGLONG at, LRESULT answer) {
  if (InSendMessage()) ReplyMessage(answer);
  Report(what + " " + std::to_string(at));
}

// Each control's own procedure, behind the one that watches it.
std::map<HWND, WNDPROC> g_controlProcs;

bool IsRichEdit(HWND control) {
  char name[32] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpA(name, "RICHEDIT") == 0;
}

// The length of a rich-text control's text in bytes of the code page, as
// Windows may answer WM_GETTEXTLENGTH for a double-byte text (more than its
// characters); Wine answers otherwise.
LRESULT TextLengthInBytes(HWND control) {
  static char text[65536];
  return CallWindowProcA(g_controlProcs[control], control, WM_GETTEXT, sizeof text,
                         reinterpret_cast<LPARAM>(text));
}

// Watches a control: stamps what another program changes (a text, a cut, a
// hide) and raises the report Windows raises for a text change.
LRESULT CALLBACK WatchedControlProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  const LONGLONG at = Now();
  const bool fromOutside = InSendMessage() != FALSE;
  if (msg == WM_GETTEXTLENGTH && IsRichEdit(wnd)) return TextLengthInBytes(wnd);
  const LRESULT result = CallWindowProcA(g_controlProcs[wnd], wnd, msg, wp, lp);
  const auto id = [wnd] { return std::to_string(GetDlgCtrlID(wnd)); };
  switch (msg) {
    case WM_SETTEXT:
      if (IsEdit(wnd))
        RaiseControlEvent(wnd, EVENT_OBJECT_VALUECHANGE, OBJID_CLIENT);
      else
        RaiseControlEvent(wnd, EVENT_OBJECT_NAMECHANGE, OBJID_WINDOW);
      if (fromOutside) StampReceived("settext " + id(), at, result);
      break;
    case EM_SETSEL:
      if (fromOutside) {
        const std::string selected = Stamp(("selected " + id()).c_str());
        StampReceived("selecting " + id(), at, result);
        Report(selected);
      }
      break;
    case EM_REPLACESEL:
      RaiseControlEvent(wnd, EVENT_OBJECT_VALUECHANGE, OBJID_CLIENT);
      if (fromOutside) StampReceived("cut " + id(), at, result);
      break;
    case WM_SHOWWINDOW:
      if (!wp) StampReceived("hidden " + id(), at, result);  // this program hides none itself
      break;
    case WM_NCDESTROY:
      g_controlProcs.erase(wnd);
      break;
  }
  return result;
}

// Another program's retitle of one of this program's windows, stamped.
LRESULT StampedRetitle(HWND wnd, WPARAM wp, LPARAM lp, const char* what) {
  const LONGLONG at = Now();
  const LRESULT result = DefWindowProcA(wnd, WM_SETTEXT, wp, lp);
  StampReceived(what, at, result);
  return result;
}

BOOL CALLBACK WatchControl(HWND control, LPARAM) {
  g_controlProcs[control] = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchedControlProc)));
  return TRUE;
}

// Renames the main window `times` times, each time to a title of its own.
void Rename(int times) {
  static int renames = 0;
  for (int i = 0; i < times; ++i) {
    SetWindowTextA(
        g_main,
        (std::string(T(kTitleMainEn, kTitleMainCn)) + " " + std::to_string(++renames)).c_str());
    RaiseWindowEvent(EVENT_OBJECT_NAMECHANGE, g_main);
  }
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
           int id = 0) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
}

// A device description of more than ten lines and 800 characters.
std::string LongDescription() {
  const char* lines[] = {
      "AT24C02  2 Kbit serial EEPROM, I2C, 1.8-5.5 V, 8-byte pages",
      "AT89S52  8-bit MCU, 8 KB flash, ISP through SPI, 33 MHz",
      "W25Q64   64 Mbit serial NOR flash, SPI/Dual/Quad, 104 MHz",
      "93C46    1 Kbit Microwire EEPROM, 16-bit or 8-bit organisation",
      "STM8S003 8-bit MCU, 8 KB flash, 128 B data EEPROM, SWIM",
      "Supported packages: DIP8, SOP8, SOIC16, TSSOP20, QFN32 (adapter)",
      "Operations: read, blank check, erase, program, verify, protect",
      "Auto mode: erase + program + verify in one pass, serial numbers",
      "Verification compares every byte with the buffer and the file",
      "Files: BIN, HEX (Intel), S19 (Motorola); buffer editor included",
      "Voltage: 1.8 V, 2.5 V, 3.3 V and 5 V target supply, overcurrent stop",
      "Connection: USB 2.0 full speed, no driver needed on this system",
      "Batch counter and production log for each programmed device",
      "Checksums: CRC32, SUM16 and the device's own when it has one",
      "Firmware updates for the programmer arrive with new versions",
      "Device list updated with every release of this software",
  };
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

void CreateMainControls(HWND wnd) {
  Child(wnd, "STATIC", kVendorAddress, 0, 10, 10, 240, 18, kIdVendorAddress);
  const char* actions[][2] = {{"Read", "\xB6\xC1\xC8\xA1"},     // 读取
                              {"Program", "\xB1\xE0\xB3\xCC"},  // 编程
                              {"Verify", "\xD0\xA3\xD1\xE9"}};  // 校验
  for (int i = 0; i < 3; ++i)
    Child(wnd, "BUTTON", T(actions[i][0], actions[i][1]), BS_PUSHBUTTON, 300 + i * 100, 6, 90, 24);
  Child(wnd, "LISTBOX", "", WS_BORDER | WS_VSCROLL, 10, 36, 200, 200, kIdDeviceList);
  HWND rich = Child(wnd, "RICHEDIT", "", WS_BORDER | ES_MULTILINE | WS_VSCROLL, 220, 36, 390, 200,
                    kIdDescription);
  SetWindowTextA(rich, LongDescription().c_str());
  const char* devices[] = {"AT24C02", "AT89S52", "W25Q64", "93C46", "STM8S003"};
  for (const char* d : devices)
    SendDlgItemMessageA(wnd, kIdDeviceList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d));
  EnumChildWindows(wnd, WatchControl, 0);
}

// What a refresh after reconnecting puts back: the vendor's address shown
// again, or the full device description. Stamped once the call returned: the
// time a control takes to show itself or to take the text is the companion's own.
void ShowVendorAddressAgain() {
  Show(GetDlgItem(g_main, kIdVendorAddress), SW_SHOW);
  Report(Stamp("address-back"));
}

void PutLongTextBack() {
  SetWindowTextA(GetDlgItem(g_main, kIdDescription), LongDescription().c_str());
  Report(Stamp("text-back"));
}

// Twelve lines of fewer characters than either cut keeps (58 with the line
// breaks); in Chinese twice as many bytes, more than the cut keeps.
void PutShortTextBack() {
  std::string text;
  for (int line = 0; line < 12; ++line)
    text += std::string(line ? "\r\n" : "") + T("Chip", "\xB1\xE0\xB3\xCC\xC6\xF7");  // 编程器
  SetWindowTextA(GetDlgItem(g_main, kIdDescription), text.c_str());
  Report(Stamp("short-text-back"));
}

// Appends `lines` lines to the log control, made by the first one; a long log
// starts over.
void WriteLog(int lines) {
  static int written = 0;
  HWND log = GetDlgItem(g_main, kIdLog);
  if (!log) {
    log = Child(g_main, "EDIT", "", WS_BORDER | ES_MULTILINE | ES_READONLY | WS_VSCROLL, 10, 240,
                600, 40, kIdLog);
    WatchControl(log, 0);
  }
  for (int i = 0; i < lines; ++i) {
    if (GetWindowTextLengthA(log) > 16000) SetWindowTextA(log, "");
    const std::string line = "Programmed block " + std::to_string(++written) + " OK\r\n";
    SendMessageA(log, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageA(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
  }
}

void CloseAbout() {
  if (!g_about) return;
  EnableWindow(g_main, TRUE);
  DestroyWindow(g_about);
  g_about = nullptr;
}

void OpenAbout() {
  if (g_about) return;
  g_about = CreateWindowExA(WS_EX_DLGMODALFRAME, "KorvastelAbout", T(kTitleAboutEn, kTitleAboutCn),
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 150, 420, 300, g_main, nullptr,
                            g_instance, nullptr);
  HWND a = g_about;
  Child(a, "STATIC", "", SS_BLACKRECT, 10, 10, 120, 240, kIdAboutPicture);
  Child(a, "STATIC",
        T("Ostrel Programmer V6.10", "Tamsu\xCF\xB5\xC1\xD0\xB1\xE0\xB3\xCC\xC6\xF7 V6.10"), 0, 140,
        10, 260, 18);
  Child(a, "STATIC",
        T("ShenZhen Pelta Co.",
          "\xC9\xEE\xDB\xDA"
          "Drumel"
          "\xBF\xC6\xBC\xBC\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE \xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0"),
        0, 140, 34, 260, 18);
  Child(a, "STATIC", T("Designed by Torvin Eskel", "\xCF\xB5\xCD\xB3\xC9\xE8\xBC\xC6\xA3\xBA"), 0,
        140, 58, 260, 18);
  if (g_chinese) Child(a, "STATIC", "Torvin Eskel", 0, 240, 58, 160, 18);
  Child(a, "STATIC", T("Website:", "\xCD\xF8\xD6\xB7\xA3\xBA"), 0, 140, 112, 80, 18);
  Child(a, "STATIC", kVendorAddress, 0, 140, 142, 240, 18, kIdAboutVendorAddress);
  Child(a, "STATIC", "www.drumel.example", 0, 140, 166, 240, 18);
  Child(a, "STATIC", T("Email: support@ostrelprog.example", "support@ostrelprog.example"), 0, 140,
        190, 260, 18, kIdAboutEmail);
  Child(a, "BUTTON", "OK", BS_DEFPUSHBUTTON, 300, 230, 90, 26, IDOK);
  EnumChildWindows(a, WatchControl, 0);
  EnableWindow(g_main, FALSE);
  Report(Stamp("about"));
  Show(a, SW_SHOW);
  Report(Stamp("about-shown"));
}

// The unknown dialog: not modal, so the About box still opens over it.
void OpenOptions() {
  const int language = g_chinese ? 1 : 0;
  HWND options = CreateWindowExA(WS_EX_DLGMODALFRAME, "KorvastelOptions", kOptionsTitle[language],
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU, 160, 120, 360, 160, g_main,
                                 nullptr, g_instance, nullptr);
  Child(options, "STATIC", kOptionsVendorText[language], 0, 10, 10, 330, 18);
  Child(options, "BUTTON", kOptionsCleanText[language], BS_AUTOCHECKBOX, 10, 36, 330, 20);
  Child(options, "BUTTON", "OK", BS_DEFPUSHBUTTON, 250, 90, 90, 26, IDOK);
  Show(options, SW_SHOW);
}

// A status line below the device list, the window grown to show it.
void AddStatusTexts() {
  const int language = g_chinese ? 1 : 0;
  SetWindowPos(g_main, nullptr, 0, 0, 640, 330, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Child(g_main, "STATIC", kMainProductText[language], 0, 10, 246, 300, 18);
  Child(g_main, "STATIC", kMainCompanyText[language], 0, 320, 246, 290, 18);
}

LRESULT CALLBACK OptionsProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if ((msg == WM_COMMAND && LOWORD(wp) == IDOK) || msg == WM_CLOSE) {
    DestroyWindow(wnd);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

void ShowConnectionFailure() {
  MessageBoxA(g_main,
              T("No programmer found on USB.", "\xCE\xB4\xD5\xD2\xB5\xBD\xB1\xE0\xB3\xCC\xC6\xF7"),
              T(kTitleConnFailEn, kTitleConnFailCn), MB_OK | MB_ICONWARNING);
}

LRESULT CALLBACK AboutProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETTEXT && InSendMessage()) return StampedRetitle(wnd, wp, lp, "retitled about");
  if ((msg == WM_COMMAND && LOWORD(wp) == IDOK) || msg == WM_CLOSE) {
    CloseAbout();
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

// Does one start-up step and posts the next, until the busy time is over.
void BusyStep(HWND wnd) {
  if (static_cast<LONG>(GetTickCount() - g_busyUntil) >= 0) return;
  Sleep(kBusyStepMs);
  PostMessageA(wnd, kBusyStep, 0, 0);
}

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateMainControls(wnd);
      return 0;
    case kBusyStep:
      BusyStep(wnd);
      return 0;
    case WM_SETTEXT:
      if (InSendMessage()) return StampedRetitle(wnd, wp, lp, "retitled main");
      break;
    case WM_TIMER:
      if (wp == kRenameTimer) {
        Rename(1);
        return 0;
      }
      if (wp == kLogTimer) {
        WriteLog(1);
        return 0;
      }
      KillTimer(wnd, wp);
      OpenAbout();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kCmdOpenAbout:
          OpenAbout();
          return 0;
        case kCmdCloseAbout:
          CloseAbout();
          return 0;
        case kCmdConnectionFailure:
          ShowConnectionFailure();
          return 0;
        case kCmdRenameBurst:
          Rename(static_cast<int>(lp));
          return 0;
        case kCmdShowVendorAddressAgain:
          ShowVendorAddressAgain();
          return 0;
        case kCmdPutLongTextBack:
          PutLongTextBack();
          return 0;
        case kCmdPutShortTextBack:
          PutShortTextBack();
          return 0;
        case kCmdWriteLog:
          WriteLog(static_cast<int>(lp));
          return 0;
        case kCmdOpenOptions:
          OpenOptions();
          return 0;
        case kCmdExit:
          DestroyWindow(wnd);
          return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

void Register(const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

HMENU MainMenu() {
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, kCmdOpenAbout, T("&About...", "\xB9\xD8\xD3\xDA(&A)..."));
  HMENU device = CreatePopupMenu();
  AppendMenuA(device, MF_STRING, kCmdConnectionFailure, T("&Connect", "\xC1\xAC\xBD\xD3(&C)"));
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(device),
              T("&Device", "\xC6\xF7\xBC\xFE(&D)"));
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), T("&Help", "\xB0\xEF\xD6\xFA(&H)"));
  return bar;
}

// The show request this program was started with: WinMain's and the start-up
// information's, which the first show of its main window obeys on Windows,
// and the application ID it was started with, if any.
void ReportShowRequest(int cmdShow) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  std::string line = "show-request " + std::to_string(cmdShow);
  line +=
      (si.dwFlags & STARTF_USESHOWWINDOW) ? " given=" + std::to_string(si.wShowWindow) : " none";
  Report(line);
  const bool appId = (si.dwFlags & STARTF_TITLEISAPPID) && si.lpTitle;
  Report(appId ? std::string("app-id ") + si.lpTitle : "app-id none");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
  g_instance = instance;
  g_chinese = Env("KORVASTEL_LANG") == "cn";
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  Report(std::string("started ") + path);
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  Report(std::string("folder ") + folder);
  ReportShowRequest(cmdShow);
  ReportSplash();

  Sleep(std::atoi(Env("KORVASTEL_START_DELAY_MS").c_str()));
  LoadLibraryA("riched32.dll");
  Register("KorvastelMain", MainProc);
  Register("KorvastelAbout", AboutProc);
  Register("KorvastelOptions", OptionsProc);
  const std::string start = Env("KORVASTEL_START");
  g_main = CreateWindowExA(0, "KorvastelMain", T(kTitleMainEn, kTitleMainCn), WS_OVERLAPPEDWINDOW,
                           100, 80, 640, 300, nullptr, MainMenu(), instance, nullptr);
  Report(Stamp("shown"));
  // As a Windows program is told to: its first show takes the request it was
  // started with.
  if (start != "hidden") Show(g_main, cmdShow);
  Sleep(std::atoi(Env("KORVASTEL_DEAF_MS").c_str()));
  if (start == "disabled") EnableWindow(g_main, FALSE);
  if (int ms = std::atoi(Env("KORVASTEL_BUSY_MS").c_str())) {
    g_busyUntil = GetTickCount() + ms;
    PostMessageA(g_main, kBusyStep, 0, 0);
  }
  if (start == "about") PostMessageA(g_main, WM_COMMAND, kCmdOpenAbout, 0);
  if (start == "connfail") PostMessageA(g_main, WM_COMMAND, kCmdConnectionFailure, 0);
  if (start == "unknown") AddStatusTexts();
  if (int ms = std::atoi(Env("KORVASTEL_ABOUT_AFTER_MS").c_str()))
    SetTimer(g_main, kAboutTimer, ms, nullptr);
  if (int perSecond = std::atoi(Env("KORVASTEL_RENAMES_PER_SECOND").c_str()))
    SetTimer(g_main, kRenameTimer, 1000 / perSecond, nullptr);
  if (int perSecond = std::atoi(Env("KORVASTEL_LOG_PER_SECOND").c_str()))
    SetTimer(g_main, kLogTimer, 1000 / perSecond, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
