#include "ui/CompanionEvents.h"

#include "ui/TitleDispatch.h"
#include "winsys/Win32.h"

namespace {

struct EventRange {
  DWORD first, last;
};
// The reports that can mean a new or renamed companion window to re-label.
const EventRange kEventRanges[] = {
    {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
    {EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW},  // destruction, between them, is skipped
    {EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE},
};

// Whether a report can mean a companion window to re-label.
bool AsksForPass(DWORD event, HWND wnd, LONG object, LONG child) {
  if (event == EVENT_OBJECT_DESTROY) return false;
  // The companion's controls change all the time; only its windows count.
  if (object != OBJID_WINDOW || child != CHILDID_SELF || !winsys::IsTopLevelWindow(wnd))
    return false;
  // A window renamed to a brand was renamed by this launcher: no pass for that.
  return event != EVENT_OBJECT_NAMECHANGE || !IsBrandTitle(winsys::GetWindowTextA(wnd));
}

}  // namespace

CompanionEvents::CompanionEvents(winsys::TPostedEvent& pass) : pass_(pass) {}

CompanionEvents::~CompanionEvents() { Follow(0); }

void CompanionEvents::Follow(DWORD pid) {
  if (pid == pid_) return;
  pid_ = pid;
  hooks_.clear();
  if (!pid) return;
  for (const EventRange& range : kEventRanges) {
    winsys::WinEventHook hook = winsys::SetWinEventHook(
        range.first, range.last, pid, [this](DWORD event, HWND wnd, LONG object, LONG child) {
          if (AsksForPass(event, wnd, object, child)) pass_.Post();
        });
    if (hook) hooks_.push_back(std::move(hook));
  }
}
