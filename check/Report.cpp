#include "check/Report.h"

#include <algorithm>
#include <set>
#include <utility>

#include "text/TextTable.h"
#include "text/VendorWords.h"
#include "winsys/Win32Shell.h"

namespace {

size_t CountTexts(const WindowRecord& record, bool vendorOnly) {
  size_t n = 0;
  auto count = [&](const SeenText& seen) {
    if (!seen.text.empty() && (!vendorOnly || !seen.vendorWord.empty())) ++n;
  };
  count(record.title);
  for (const SeenText& control : record.controls) count(control);
  return n;
}

std::string Quoted(const std::string& text, const CheckWording& words) {
  return Fill(words.quoted, {text});
}

std::string Joined(const std::vector<std::string>& items, const char* separator) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : separator) + item;
  return joined;
}

std::string Escaped(std::string_view utf8) {
  std::string html;
  for (char c : utf8) {
    switch (c) {
      case '&': html += "&amp;"; break;
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '"': html += "&quot;"; break;
      default: html += c;
    }
  }
  return html;
}

// A code-page text for the page.
std::string Html(std::string_view text) { return Escaped(winsys::AnsiToUtf8(text)); }

std::string Base64(std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
std::string TimeOfDay(const SYSTEMTIME& t) {
  return TwoDigits(t.wHour) + ":" + TwoDigits(t.wMinute) + ":" + TwoDigits(t.wSecond);
}

std::string TextRow(const char* control, const SeenText& seen, const CheckWording& words) {
  const bool vendor = !seen.vendorWord.empty();
  std::string row = vendor ? "<tr class=\"vendor\">" : "<tr>";
  row += "<td>" + Html(control) + "</td><td class=\"text\">";
  if (seen.text.empty())
    row += "<span class=\"meta\">" + Html(words.noText) + "</span>";
  else if (vendor)
    row += "<mark>" + Html(seen.text) + "</mark>";
  else
    row += Html(seen.text);
  return row + "</td><td>" + (vendor ? Html(seen.vendorWord) : std::string()) + "</td></tr>\n";
}

std::string Reading(const WindowRecord& record, const CheckWording& words) {
  std::string html = "<p class=\"meta\">" +
                     Html(Fill(record.changed ? words.changedAt : words.seenAt,
                               {TimeOfDay(record.seenAt)})) +
                     " &middot; " + Html(Fill(words.windowClass, {record.title.className})) +
                     " &middot; " + Html(Findings(record, words)) + "</p>\n";
  using Picture = WindowRecord::Picture;
  const char* note = record.picture == Picture::FromScreen ? words.fromScreen
                     : record.picture == Picture::None     ? words.noPicture
                     : record.picture == Picture::NotKept  ? words.pictureNotKept
                                                           : nullptr;
  if (note) html += "<p class=\"meta\">" + Html(note) + "</p>\n";
  if (!record.bitmap.empty())
    html += "<img alt=\"\" src=\"data:image/bmp;base64," + Base64(record.bitmap) + "\">\n";
  html += "<table><tr><th>" + Html(words.columnControl) + "</th><th>" + Html(words.columnText) +
          "</th><th>" + Html(words.columnVendorWord) + "</th></tr>\n";
  html += TextRow(words.titleRow, record.title, words);
  for (const SeenText& control : record.controls)
    html += TextRow(control.className.c_str(), control, words);
  return html + "</table>\n";
}

const char kStyle[] =
    "body{font-family:'Segoe UI',Tahoma,'Microsoft YaHei',sans-serif;margin:24px;color:#222}"
    "h1{font-size:22px}h2{font-size:17px;margin-top:36px;border-top:1px solid #ccc;"
    "padding-top:16px}.summary{font-size:17px;font-weight:bold}.meta{color:#666}"
    ".note{background:#fff6d8;padding:8px}table{border-collapse:collapse;margin:10px 0}"
    "td,th{border:1px solid #ddd;padding:3px 8px;text-align:left;vertical-align:top}"
    "td.text{white-space:pre-wrap;max-width:720px}tr.vendor td{background:#fff0f0}"
    "mark{background:#ffc8c8;color:#900}img{border:1px solid #999;max-width:100%}"
    "code{background:#f2f2f2;padding:0 4px;margin-right:6px;line-height:1.8;white-space:pre}";

}  // namespace

std::string WindowName(const WindowRecord& record, const CheckWording& words) {
  return record.title.text.empty() ? Fill(words.untitled, {record.title.className})
                                   : record.title.text;
}

std::string Findings(const WindowRecord& record, const CheckWording& words) {
  const std::string texts = Count(CountTexts(record, false), words.oneText, words.texts);
  std::vector<std::string> vendor;
  auto note = [&](const SeenText& seen) {
    if (!seen.vendorWord.empty()) vendor.push_back(Quoted(seen.text, words));
  };
  note(record.title);
  for (const SeenText& control : record.controls) note(control);
  if (vendor.empty()) return Fill(words.findings, {texts, words.clean});
  return Fill(words.findings, {texts, Count(vendor.size(), words.oneVendorText, words.vendorTexts) +
                                          words.colon + Joined(vendor, words.listSeparator)});
}

Summary Summarise(const std::vector<WindowRecord>& records, const CheckWording& words) {
  Summary summary;
  std::set<HWND> windows;
  std::set<std::pair<HWND, std::string>> texts;
  auto add = [&](const WindowRecord& record, const SeenText& seen) {
    if (seen.text.empty() || !texts.emplace(record.wnd, seen.text).second) return;
    ++summary.texts;
    if (!seen.vendorWord.empty())
      summary.vendorTexts.push_back({seen.text, WindowName(record, words)});
  };
  for (const WindowRecord& record : records) {
    windows.insert(record.wnd);
    add(record, record.title);
    for (const SeenText& control : record.controls) add(record, control);
  }
  summary.windows = windows.size();
  return summary;
}

std::string SummaryLine(const Summary& summary, const CheckWording& words) {
  const std::string windows = Count(summary.windows, words.oneWindow, words.windows);
  const std::string texts = Count(summary.texts, words.oneText, words.texts);
  if (summary.vendorTexts.empty()) return Fill(words.summaryClean, {windows, texts});
  std::vector<std::string> list;
  for (const Summary::VendorText& v : summary.vendorTexts)
    list.push_back(Fill(words.vendorIn, {Quoted(v.text, words), Quoted(v.window, words)}));
  return Fill(words.summaryVendor,
              {windows, texts, Count(summary.vendorTexts.size(), words.oneVendorText, words.vendorTexts),
               Joined(list, words.listSeparator)});
}

std::string ReportHtml(const std::vector<WindowRecord>& records, const Summary& summary,
                       const ReportContext& context, const CheckWording& words) {
  const std::string title = Html(Fill(words.reportTitle, {BrandProductName, context.startedAt}));
  std::string html = std::string("<!DOCTYPE html>\n<html lang=\"") + words.htmlLanguage +
                     "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
                     "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<h1>" + title +
                     "</h1>\n<p class=\"summary\">" + Html(SummaryLine(summary, words)) + "</p>\n";
  if (!context.launcherRunning)
    html += "<p class=\"note\">" + Html(words.launcherNotRunningNote) + "</p>\n";
  if (!summary.vendorTexts.empty()) html += "<p>" + Html(words.findingAdvice) + "</p>\n";

  // One section a window, its readings in the order they were made.
  std::vector<HWND> order;
  for (const WindowRecord& record : records)
    if (std::find(order.begin(), order.end(), record.wnd) == order.end()) order.push_back(record.wnd);
  for (HWND wnd : order) {
    bool first = true;
    for (const WindowRecord& record : records) {
      if (record.wnd != wnd) continue;
      if (first) html += "<h2>" + Html(WindowName(record, words)) + "</h2>\n";
      first = false;
      html += Reading(record, words);
    }
  }

  html += "<h2>" + Html(words.wordsHeading) + "</h2>\n<p>" + Html(words.wordsNote) + "</p>\n<p>";
  for (std::string_view word : VendorWords()) html += "<code>" + Html(word) + "</code> ";
  html += "</p>\n<p class=\"meta\">" + Html(words.notRead) + "</p>\n</body>\n</html>\n";
  return html;
}
