// Re-labelling without waiting for the poll: the platform reports when one of
// the companion's top-level windows is created, shown, brought to the front
// or renamed, and each burst of such reports asks for one re-label pass. The
// poll tick stays the backstop: where no report comes, it finds the window.
//
// A control of a recorded window (a main window, or the About box recorded
// last) that is shown again, renamed or changes its value is re-labelled on
// its own report: that window's rule runs for that control alone, a moment
// later through the event loop, once per control however many reports came.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "winsys/PostedEvent.h"
#include "winsys/WinEvents.h"
#include "winsys/Win32Windows.h"

class CompanionEvents {
 public:
  // Every report of interest about a window posts `pass`. One follower at a time.
  explicit CompanionEvents(winsys::TPostedEvent& pass);
  ~CompanionEvents();
  CompanionEvents(const CompanionEvents&) = delete;
  CompanionEvents& operator=(const CompanionEvents&) = delete;

  // Follows the reports of process `pid` from now on, and no longer those of
  // the process followed before (a restarted companion); 0 follows none.
  void Follow(DWORD pid);
  // The process followed, or 0.
  DWORD Followed() const { return pid_; }

 private:
  struct ReportedControl {
    HWND control;
    winsys::WalkProc ruleSet;  // the rule set of the recorded window it belongs to
  };

  void OnReport(DWORD event, HWND wnd, LONG object, LONG child);
  bool IsRichEdit(HWND control);
  void QueueControl(HWND control);
  void ApplyQueuedControlRules();

  winsys::TPostedEvent& pass_;
  DWORD pid_ = 0;
  std::vector<ReportedControl> controls_;  // reported since the last run, each once
  // Whether a control that reported a value change is a rich-edit control:
  // a window's class never changes, so it is read once per control.
  std::map<HWND, bool> richEdits_;
  winsys::TPostedEvent controlsPosted_;
  std::vector<winsys::WinEventHook> hooks_;  // released first: no report comes after
};
