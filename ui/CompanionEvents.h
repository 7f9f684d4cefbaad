// Re-labelling without waiting for the poll: the platform reports when one of
// the companion's top-level windows is created, shown, brought to the front
// or renamed, and each burst of such reports asks for one re-label pass. The
// poll tick stays the backstop: where no report comes, it finds the window.
#pragma once

#include <windows.h>

#include <vector>

#include "winsys/PostedEvent.h"
#include "winsys/WinEvents.h"

class CompanionEvents {
 public:
  // Every report of interest posts `pass`. One follower at a time.
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
  winsys::TPostedEvent& pass_;
  DWORD pid_ = 0;
  std::vector<winsys::WinEventHook> hooks_;
};
