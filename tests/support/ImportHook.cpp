#include "tests/support/ImportHook.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

template <typename T>
T* AtOffset(HMODULE module, DWORD offset) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

// Walks one DLL's import names alongside its address table.
void** SlotIn(HMODULE module, const IMAGE_IMPORT_DESCRIPTOR& dll, const char* function) {
  auto* names = AtOffset<IMAGE_THUNK_DATA>(module, dll.OriginalFirstThunk);
  auto* slots = AtOffset<IMAGE_THUNK_DATA>(module, dll.FirstThunk);
  for (; names->u1.AddressOfData; ++names, ++slots) {
    if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
    auto* byName =
        AtOffset<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
    if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
      return reinterpret_cast<void**>(&slots->u1.Function);
  }
  return nullptr;
}

}  // namespace

void** ImportSlot(const char* dll, const char* function) {
  HMODULE module = GetModuleHandleA(nullptr);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
  auto* nt = AtOffset<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* entry = AtOffset<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); entry->Name;
       ++entry) {
    if (lstrcmpiA(AtOffset<const char>(module, entry->Name), dll) != 0) continue;
    if (void** slot = SlotIn(module, *entry, function)) return slot;
  }
  std::fprintf(stderr, "this test program does not import %s from %s\n", function, dll);
  std::abort();
}

void WriteImportSlot(void** slot, void* target) {
  DWORD old = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
  *slot = target;
  VirtualProtect(slot, sizeof *slot, old, &old);
}

namespace {

std::map<HDC, HWND> g_outstandingDCs;
std::vector<WindowDCCount::Call> g_dcCalls;
decltype(&::GetDC) g_getDC = nullptr;
decltype(&::ReleaseDC) g_releaseDC = nullptr;

HDC WINAPI CountingGetDC(HWND wnd) {
  HDC dc = g_getDC(wnd);
  g_dcCalls.push_back({true, wnd});
  if (dc) g_outstandingDCs[dc] = wnd;
  return dc;
}

int WINAPI CountingReleaseDC(HWND wnd, HDC dc) {
  const int released = g_releaseDC(wnd, dc);
  g_dcCalls.push_back({false, wnd});
  if (released) g_outstandingDCs.erase(dc);
  return released;
}

}  // namespace

WindowDCCount::WindowDCCount()
    : getDC_("user32.dll", "GetDC", CountingGetDC),
      releaseDC_("user32.dll", "ReleaseDC", CountingReleaseDC) {
  g_outstandingDCs.clear();
  g_dcCalls.clear();
  g_getDC = getDC_.Original();
  g_releaseDC = releaseDC_.Original();
}

int WindowDCCount::Outstanding() const {
  int count = 0;
  for (const auto& [dc, wnd] : g_outstandingDCs) count += IsWindow(wnd) ? 1 : 0;
  return count;
}

const std::vector<WindowDCCount::Call>& WindowDCCount::Calls() const { return g_dcCalls; }

namespace {

std::vector<MessageBoxes::Box> g_messageBoxes;
constexpr DWORD kQuietMs = 100;
constexpr DWORD kLongestOpenMs = 2000;

// The box's modal loop. A quit goes back on the queue for the loop that waits for it.
void RunBoxLoop(size_t box) {
  const DWORD opened = GetTickCount();
  DWORD lastTimer = opened;
  while (GetTickCount() - lastTimer < kQuietMs && GetTickCount() - opened < kLongestOpenMs) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (msg.message == WM_TIMER) {
        g_messageBoxes[box].timersRan = true;
        lastTimer = GetTickCount();
      }
      DispatchMessageA(&msg);
    }
    Sleep(1);
  }
}

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  g_messageBoxes.push_back({std::string(caption) + ": " + text, owner, style, false});
  RunBoxLoop(g_messageBoxes.size() - 1);
  return IDOK;
}

}  // namespace

MessageBoxes::MessageBoxes() : hook_("user32.dll", "MessageBoxA", RecordMessageBox) {
  g_messageBoxes.clear();
}

std::vector<std::string> MessageBoxes::Shown() const {
  std::vector<std::string> shown;
  for (const Box& box : g_messageBoxes) shown.push_back(box.shown);
  return shown;
}

const std::vector<MessageBoxes::Box>& MessageBoxes::Boxes() const { return g_messageBoxes; }

namespace {

int g_hookRequests = 0;

HWINEVENTHOOK WINAPI RefuseHook(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD, DWORD) {
  ++g_hookRequests;
  return nullptr;
}

}  // namespace

RefusedWinEventHooks::RefusedWinEventHooks() : hook_("user32.dll", "SetWinEventHook", RefuseHook) {
  g_hookRequests = 0;
}

int RefusedWinEventHooks::Requests() const { return g_hookRequests; }

namespace {

const char* g_refusedClass;
decltype(&::CreateWindowExA) g_createWindowPastRefusal;

HWND WINAPI RefuseWindowOfClass(DWORD exStyle, LPCSTR cls, LPCSTR title, DWORD style, int x, int y,
                                int w, int h, HWND parent, HMENU menu, HINSTANCE instance,
                                LPVOID param) {
  const bool named = HIWORD(reinterpret_cast<UINT_PTR>(cls)) != 0;  // not a class atom
  if (named && std::string(cls) == g_refusedClass) return nullptr;
  return g_createWindowPastRefusal(exStyle, cls, title, style, x, y, w, h, parent, menu, instance,
                                   param);
}

}  // namespace

RefusedWindowClass::RefusedWindowClass(const char* className)
    : hook_("user32.dll", "CreateWindowExA", RefuseWindowOfClass) {
  g_refusedClass = className;
  g_createWindowPastRefusal = hook_.Original();
}
