#include "ui/RuleSets.h"

#include <string>

#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "ui/TitleDispatch.h"
#include "ui/ufrmMain.h"
#include "winsys/Failure.h"

namespace {

constexpr int kMaxRichTextLines = 10;
constexpr int kCutEnd = 800;
constexpr int kCutFirstEn = 78;
constexpr int kCutFirstCn = 73;
// The About box's frame (border and caption) between its outer rectangle and
// its client area, where the label is placed.
constexpr int kAboutFrameLeft = 3;
constexpr int kAboutFrameTop = 30;

// Where the text of a control of `lines` lines ends: its last line's start
// and length, in the control's own units, those of the selection. (The text
// length the platform answers may count bytes of a double-byte text.)
int TextEnd(HWND child, int lines) {
  const int lastLine = winsys::SendLineIndex(child, lines - 1);
  return lastLine + winsys::SendLineLength(child, lastLine);
}

// Deletes the characters from `first` up to 800 of a long rich-text control.
// With nothing past `first` the cut would change nothing but the caret, and
// the ticks, and the report of that empty change, would bring it straight back.
void CutRichText(HWND child, const std::string& className, int first) {
  if (!TextEquals(className, RichEditClass)) return;
  const int lines = winsys::SendGetLineCount(child);
  if (lines <= kMaxRichTextLines || TextEnd(child, lines) <= first) return;
  winsys::SendSetSel(child, first, kCutEnd);
  winsys::SendReplaceSelNoUndo(child, "");
}

// Puts the launcher's own address where the vendor's address was. Throws
// when the platform refuses the label's window in the box.
void MoveAddressLabel(HWND vendorAddress) {
  const RECT r1 = winsys::GetWindowRect(vendorAddress);
  const RECT r2 = winsys::GetWindowRect(AboutWnd);
  winsys::HideWindow(vendorAddress);
  winsys::TStaticText& label = Form1->FLabelAbout;
  label.SetParentToNone();
  if (label.ParentWindow() != AboutWnd) label.SetParentWindow(AboutWnd);
  label.SetLeft(r1.left - r2.left - kAboutFrameLeft);
  label.SetTop(r1.top - r2.top - kAboutFrameTop);
  label.SetFontColor(winsys::clRed);
  label.SetCaption(OwnWebAddress);
  label.SetVisible(true);
  label.BringToFront();
}

// The vendor's address whose label the platform refused, and its box: a
// later pass tries again while that box is in front.
struct PendingLabel {
  HWND box;
  HWND vendorAddress;
};
PendingLabel g_pendingLabel{};

// The platform may refuse the label's window in the companion's box (it
// will not join windows of different DPI awareness in one tree): the label
// then waits for a later pass.
void MoveAddressLabelOrWait(HWND vendorAddress) {
  g_pendingLabel = {AboutWnd, vendorAddress};
  MoveAddressLabel(vendorAddress);
  g_pendingLabel = {};
}

// How a control's text is matched against the text of a row.
enum class Match {
  Exact,           // byte for byte
  TextStartsWith,  // the row's text is a prefix of the control's, in any letter case
  TextIsPrefixOf,  // the control's text is a prefix of the row's: an empty text matches too
};
enum class Action { Hide, MoveAddressLabel, Write };

struct AboutRule {
  const char* text;
  Match match;
  Action action;
  const char* newText;  // what Write writes
};

// The About box's rules, in the order they are tested. Only the first Hide row
// that matches hides; every other matching row acts, all on the text as first
// read.
const AboutRule kAboutRules[] = {
    {VendorWebAddress, Match::Exact, Action::Hide, nullptr},
    {VendorWebAddress2, Match::Exact, Action::Hide, nullptr},
    {VendorSupportEmail, Match::Exact, Action::Hide, nullptr},
    {DesignerName, Match::Exact, Action::Hide, nullptr},
    {PrefixDesignCn, Match::TextIsPrefixOf, Action::Hide, nullptr},
    {PrefixDesignEn, Match::TextStartsWith, Action::Hide, nullptr},
    {PrefixSupportCn, Match::TextIsPrefixOf, Action::Hide, nullptr},
    {PrefixEmail, Match::TextStartsWith, Action::Hide, nullptr},
    {PrefixWebCn, Match::TextStartsWith, Action::Hide, nullptr},
    {PrefixWebsite, Match::TextStartsWith, Action::Hide, nullptr},
    {VendorWebAddress, Match::Exact, Action::MoveAddressLabel, nullptr},
    {CompanyCn, Match::TextStartsWith, Action::Write, BrandCompany},
    {ProductSeriesCn, Match::TextStartsWith, Action::Write, BrandProduct},
    {ProductEn, Match::TextStartsWith, Action::Write, BrandProduct},
    {CompanyEn, Match::TextStartsWith, Action::Write, BrandCompany},
};

bool Matches(const std::string& text, const AboutRule& rule) {
  switch (rule.match) {
    case Match::Exact:
      return TextEquals(text, rule.text);
    case Match::TextStartsWith:
      return HasPrefix(text, rule.text);
    case Match::TextIsPrefixOf:
      return HasPrefix(rule.text, text);
  }
  return false;
}

void ApplyAboutRules(HWND child, const std::string& text) {
  bool hidden = false;
  for (const AboutRule& rule : kAboutRules) {
    if ((rule.action == Action::Hide && hidden) || !Matches(text, rule)) continue;
    switch (rule.action) {
      case Action::Hide:
        winsys::HideWindow(child);
        hidden = true;
        break;
      case Action::MoveAddressLabel:
        MoveAddressLabelOrWait(child);
        break;
      case Action::Write:
        winsys::SendSetText(child, rule.newText);
        break;
    }
  }
}

}  // namespace

bool MainEnChildProc(HWND child, LPARAM) {
  if (!child) return false;
  const std::string className = winsys::GetClassNameA(child);
  const std::string text = winsys::GetWindowTextA(child);
  if (TextEquals(text, VendorWebAddress)) winsys::HideWindow(child);
  CutRichText(child, className, kCutFirstEn);
  return true;
}

bool MainCnChildProc(HWND child, LPARAM) {
  if (!child) return false;
  CutRichText(child, winsys::GetClassNameA(child), kCutFirstCn);
  return true;
}

// A control whose rule failed (its label refused, the control closed) keeps
// its texts; the walk goes on to the next.
bool AboutChildProc(HWND child, LPARAM) {
  if (!child) return false;
  winsys::IgnoreFailure("an About-box control's rules",
                        [child] { ApplyAboutRules(child, winsys::GetWindowTextA(child)); });
  return true;
}

void RetryAddressLabel(HWND inFront) {
  if (!g_pendingLabel.box || inFront != g_pendingLabel.box) return;
  winsys::IgnoreFailure("moving the address label",
                        [] { MoveAddressLabelOrWait(g_pendingLabel.vendorAddress); });
}

void ApplyRuleSet(HWND wnd, winsys::WalkProc ruleSet) {
  if (wnd) winsys::EnumChildWindows(wnd, ruleSet, 0);
}

winsys::WalkProc RuleSetForControlsOf(HWND root) {
  if (!root) return nullptr;
  if (root == MainEnWnd) return MainEnChildProc;
  if (root == MainCnWnd) return MainCnChildProc;
  if (root == AboutWnd) return AboutChildProc;
  return nullptr;
}
