// What the check found, summed up for the console and written out as one
// self-contained HTML page, pictures embedded.
#pragma once

#include <string>
#include <vector>

#include "check/CheckWording.h"
#include "check/Watcher.h"

// Each window counts once however often it was read; each of its texts too,
// by its bytes. Empty texts are not counted.
struct Summary {
  size_t windows = 0;
  size_t texts = 0;
  struct VendorText {
    std::string text;
    std::string window;  // the title it showed in, as the console names it
  };
  std::vector<VendorText> vendorTexts;
};

Summary Summarise(const std::vector<WindowRecord>& records, const CheckWording& words);
// "7 windows, 96 texts, 2 vendor texts visible: ..." (code-page text).
std::string SummaryLine(const Summary& summary, const CheckWording& words);
// How the console names a window: its title, or its class when it has none.
std::string WindowName(const WindowRecord& record, const CheckWording& words);
// "14 texts, clean", "3 texts, 1 vendor text: "..."" for one reading.
std::string Findings(const WindowRecord& record, const CheckWording& words);

struct ReportContext {
  std::string startedAt;  // the date and time the check started
  bool launcherRunning;   // when the check first found the companion
};
// The report as UTF-8 HTML.
std::string ReportHtml(const std::vector<WindowRecord>& records, const Summary& summary,
                       const ReportContext& context, const CheckWording& words);
