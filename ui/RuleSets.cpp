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

// Deletes the characters from `first` up to 800 of a long rich-text control.
void CutRichText(HWND child, const std::string& className, int first) {
  if (!TextEquals(className, RichEditClass)) return;
  if (winsys::SendGetLineCount(child) <= kMaxRichTextLines) return;
  winsys::SendSetSel(child, first, kCutEnd);
  winsys::SendReplaceSelNoUndo(child, "");
}

// In the Chinese prefixes the control's text is the prefix of the constant.
bool IsAttribution(const std::string& text) {
  return TextEquals(text, VendorWebAddress) || TextEquals(text, VendorWebAddress2) ||
         TextEquals(text, VendorSupportEmail) || TextEquals(text, DesignerName) ||
         HasPrefix(PrefixDesignCn, text) || HasPrefix(text, PrefixDesignEn) ||
         HasPrefix(PrefixSupportCn, text) || HasPrefix(text, PrefixEmail) ||
         HasPrefix(text, PrefixWebCn) || HasPrefix(text, PrefixWebsite);
}

// Puts the launcher's own address where the vendor's address was.
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

// Each rewrite is tested against the text as first read.
void RewriteBrandTexts(HWND child, const std::string& text) {
  if (HasPrefix(text, CompanyCn)) winsys::SendSetText(child, BrandCompany);
  if (HasPrefix(text, ProductSeriesCn)) winsys::SendSetText(child, BrandProduct);
  if (HasPrefix(text, ProductEn)) winsys::SendSetText(child, BrandProduct);
  if (HasPrefix(text, CompanyEn)) winsys::SendSetText(child, BrandCompany);
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

bool AboutChildProc(HWND child, LPARAM) {
  if (!child) return false;
  const std::string text = winsys::GetWindowTextA(child);
  if (IsAttribution(text)) winsys::HideWindow(child);
  if (TextEquals(text, VendorWebAddress)) MoveAddressLabel(child);
  RewriteBrandTexts(child, text);
  return true;
}

void ApplyRuleSet(HWND wnd, winsys::WalkProc ruleSet) {
  if (wnd) winsys::EnumChildWindows(wnd, ruleSet, 0);
}

void TForm1::Timer3Timer(winsys::TObject*) {
  // The companion may close a window mid-walk; the next tick walks again.
  winsys::IgnoreFailure("re-applying the main-window rules", [] {
    ApplyRuleSet(MainCnWnd, MainCnChildProc);
    ApplyRuleSet(MainEnWnd, MainEnChildProc);
  });
}
