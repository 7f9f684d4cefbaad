// Watching the platform calls the launcher makes, from outside it: the
// launcher's code is linked into the test program, so replacing a function
// in the test program's import table redirects the launcher's calls too.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The import-table slot through which this program calls `function` of
// `dll`. Ends the test program when it imports no such function.
void** ImportSlot(const char* dll, const char* function);
// Writes a function's address into an import-table slot.
void WriteImportSlot(void** slot, void* target);

// Replaces an imported function while it lives; Original() calls the platform.
template <typename Fn>
class ImportHook {
 public:
  ImportHook(const char* dll, const char* function, Fn replacement)
      : slot_(ImportSlot(dll, function)), original_(reinterpret_cast<Fn>(*slot_)) {
    WriteImportSlot(slot_, reinterpret_cast<void*>(replacement));
  }
  ~ImportHook() { WriteImportSlot(slot_, reinterpret_cast<void*>(original_)); }
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;
  Fn Original() const { return original_; }

 private:
  void** slot_;
  Fn original_;
};

// Watches the window drawing contexts this program takes (GetDC) and gives
// back (ReleaseDC) while it lives; one at a time.
class WindowDCCount {
 public:
  struct Call {
    bool acquired;  // GetDC, else ReleaseDC
    HWND wnd;
  };
  WindowDCCount();
  // Taken and not given back, of windows that still exist: the platform
  // takes back the context of a window that is destroyed.
  int Outstanding() const;
  // Every GetDC and ReleaseDC, in order.
  const std::vector<Call>& Calls() const;

 private:
  ImportHook<decltype(&::GetDC)> getDC_;
  ImportHook<decltype(&::ReleaseDC)> releaseDC_;
};

// Records the message boxes this program shows while it lives. Each box runs
// the program's messages, as the platform's box does, until a user would
// close it: once no timer of the program has fired for a moment, or after
// two seconds, or at once when the program asks to quit.
class MessageBoxes {
 public:
  struct Box {
    std::string shown;  // "caption: text"
    HWND owner;
    UINT style;
    bool timersRan;  // a timer of the program fired while the box was open
  };
  MessageBoxes();
  // "caption: text" of each box, in the order they opened.
  std::vector<std::string> Shown() const;
  const std::vector<Box>& Boxes() const;

 private:
  ImportHook<decltype(&::MessageBoxA)> hook_;
};

// Refuses every window-event hook this program asks for while it lives, as a
// platform without them does; counts the requests.
class RefusedWinEventHooks {
 public:
  RefusedWinEventHooks();
  int Requests() const;

 private:
  ImportHook<decltype(&::SetWinEventHook)> hook_;
};

// Refuses every window of one class this program asks for while it lives, as
// a platform that will not make it does. One at a time.
class RefusedWindowClass {
 public:
  explicit RefusedWindowClass(const char* className);

 private:
  ImportHook<decltype(&::CreateWindowExA)> hook_;
};
