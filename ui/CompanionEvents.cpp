#include "ui/CompanionEvents.h"

#include <algorithm>

#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/RuleSets.h"
#include "ui/TitleDispatch.h"
#include "winsys/Failure.h"

namespace {

struct EventRange {
  DWORD first, last;
};
// The reports that can mean a new or renamed companion window to re-label,
// or a control whose texts the companion has put back.
const EventRange kEventRanges[] = {
    {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
    {EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW},  // destruction, between them, is skipped
    {EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE},
    {EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE},
};

// Whether a report can mean a companion window to re-label.
bool AsksForPass(DWORD event, HWND wnd, LONG object, LONG child) {
  if (event == EVENT_OBJECT_DESTROY || event == EVENT_OBJECT_VALUECHANGE) return false;
  // The companion's controls change all the time; only its windows count.
  if (object != OBJID_WINDOW || child != CHILDID_SELF || !winsys::IsTopLevelWindow(wnd))
    return false;
  // A window renamed to a brand was renamed by this launcher: no pass for that.
  return event != EVENT_OBJECT_NAMECHANGE || !IsBrandTitle(winsys::GetWindowTextA(wnd));
}

// Whether a report can mean a control whose texts a rule changes: shown again,
// renamed, or its value (an edit control's text) changed. The platform names
// the control's window or its client area.
bool IsControlReport(DWORD event, LONG object, LONG child) {
  const bool kind = event == EVENT_OBJECT_SHOW || event == EVENT_OBJECT_NAMECHANGE ||
                    event == EVENT_OBJECT_VALUECHANGE;
  return kind && (object == OBJID_WINDOW || object == OBJID_CLIENT) && child == CHILDID_SELF;
}

}  // namespace

CompanionEvents::CompanionEvents(winsys::TPostedEvent& pass)
    : pass_(pass), controlsPosted_([this](winsys::TObject*) { ApplyQueuedControlRules(); }) {}

CompanionEvents::~CompanionEvents() { Follow(0); }

void CompanionEvents::Follow(DWORD pid) {
  if (pid == pid_) return;
  pid_ = pid;
  hooks_.clear();
  controls_.clear();
  richEdits_.clear();
  if (!pid) return;
  for (const EventRange& range : kEventRanges) {
    winsys::WinEventHook hook = winsys::SetWinEventHook(
        range.first, range.last, pid,
        [this](DWORD event, HWND wnd, LONG object, LONG child) { OnReport(event, wnd, object, child); });
    if (hook) hooks_.push_back(std::move(hook));
  }
}

// A value change matters only to the rich-text cut: the texts the other rules
// read are the ones the platform stores for a window, which an edit control's
// changes leave as they were. So a log or progress control written all the
// time costs, after its first report, no read at all.
void CompanionEvents::OnReport(DWORD event, HWND wnd, LONG object, LONG child) {
  if (event == EVENT_OBJECT_CREATE || event == EVENT_OBJECT_DESTROY) richEdits_.erase(wnd);
  if (AsksForPass(event, wnd, object, child))
    pass_.Post();
  else if (IsControlReport(event, object, child) &&
           (event != EVENT_OBJECT_VALUECHANGE || IsRichEdit(wnd)))
    QueueControl(wnd);
}

bool CompanionEvents::IsRichEdit(HWND control) {
  auto found = richEdits_.find(control);
  if (found == richEdits_.end())
    found =
        richEdits_.emplace(control, TextEquals(winsys::GetClassNameA(control), RichEditClass)).first;
  return found->second;
}

// A control of a window no rule serves (a top-level window among them, whose
// root is itself) costs this one read and nothing more.
void CompanionEvents::QueueControl(HWND control) {
  const HWND root = winsys::GetRootWindow(control);
  if (root == control) return;
  const winsys::WalkProc ruleSet = RuleSetForControlsOf(root);
  if (!ruleSet) return;
  const bool queued = std::any_of(controls_.begin(), controls_.end(),
                                  [&](const ReportedControl& c) { return c.control == control; });
  if (!queued) controls_.push_back({control, ruleSet});
  controlsPosted_.Post();
}

// The rules write only where a text differs from what they leave (a brand
// text, a cut text, a hidden control), so the reports of their own writes
// end here without a write.
void CompanionEvents::ApplyQueuedControlRules() {
  std::vector<ReportedControl> controls;
  controls.swap(controls_);
  for (const ReportedControl& c : controls) {
    // The companion may close the window meanwhile; the ticks go on as before.
    winsys::IgnoreFailure("re-labelling a reported control",
                          [&] { c.ruleSet(c.control, 0); });
  }
}
