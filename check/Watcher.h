// Watching the companion's visible top-level windows: each window seen for
// the first time, or whose title or visible texts changed, is read once its
// texts have settled (the launcher re-labels a window within a few ticks of
// its own), judged and kept with its picture. A reading that shows no text
// the window has not shown before is not kept; nor, after the first few of
// a window, its picture, unless it shows a vendor text new to the window:
// a progress window that changes all the time costs a text a second.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// A text the user can see, the class of the window that shows it, and the
// vendor word it contains (empty: clean).
struct SeenText {
  std::string className;
  std::string text;
  std::string_view vendorWord;
};

// One window as it was read: its title and class, its visible controls'
// texts, and its picture as a BMP file (empty when there is none).
struct WindowRecord {
  HWND wnd;
  SeenText title;
  std::vector<SeenText> controls;
  std::string bitmap;
  enum class Picture {
    Painted,     // as the window painted itself
    FromScreen,  // the window did not paint itself: what the screen showed there
    None,        // none could be taken
    NotKept,     // one of many readings of the window, with no new vendor text
  } picture;
  SYSTEMTIME seenAt;
  bool changed;  // a later reading of a window read before
};

class Watcher {
 public:
  using OnRecord = std::function<void(const WindowRecord&)>;
  explicit Watcher(OnRecord onRecord) : onRecord_(std::move(onRecord)) {}

  // One look at the process's visible top-level windows, at `nowMs`.
  void Poll(DWORD pid, DWORD nowMs);
  // Reads every window still showing texts it has not been read with.
  void Finish(DWORD pid);
  const std::vector<WindowRecord>& Records() const { return records_; }

 private:
  struct Tracked {
    HWND wnd;
    std::string recorded;  // what its stored texts were when last read
    bool hasPending;       // they differ from `recorded` (or it was never read):
    std::string pending;   // what they are since `pendingSince`
    DWORD pendingSince;
    DWORD unreadSince;  // when its texts first differed from the last reading
    bool read;
    std::set<std::string> texts;  // every class and text it has shown
    int pictures;
  };
  Tracked& Track(HWND wnd, DWORD nowMs);
  void Read(Tracked& tracked, const std::string& signature);

  OnRecord onRecord_;
  std::vector<Tracked> tracked_;
  std::vector<WindowRecord> records_;
};

// The companion's windows the user can see: visible, with an area.
std::vector<HWND> VisibleTopWindowsOf(DWORD pid);
