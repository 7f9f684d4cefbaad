// What the brand check tells the reseller, in English or Chinese (GBK bytes)
// as the launcher chooses: Chinese where the system's code page is 936.
// Patterns take their arguments at %1, %2...
#pragma once

#include <initializer_list>
#include <string>

struct CheckWording {
  // The console.
  const char* usage;
  const char* badArgument;  // %1 the argument
  const char* badSeconds;
  const char* waiting;     // %1 the companion's file
  const char* watching;    // %1 the companion's file, %2 its process id
  const char* noLauncher;  // %1 the launcher's file
  const char* seen;        // %1 the window, %2 what was found
  const char* changed;
  const char* ended;  // %1 the companion's file
  const char* neverStarted;
  const char* reportWritten;  // %1 the path
  const char* reportFailed;   // %1 the path, %2 why
  const char* processorUse;   // %1 percent of one core, %2 processor seconds, %3 seconds
  const char* pressEnter;
  // Counts, and the lists of vendor texts.
  const char* oneWindow;
  const char* windows;  // %1 the count
  const char* oneText;
  const char* texts;
  const char* oneVendorText;
  const char* vendorTexts;
  const char* clean;
  const char* findings;  // %1 the texts counted, %2 what of them is the vendor's
  const char* colon;
  const char* listSeparator;
  const char* quoted;    // %1 the text
  const char* untitled;  // %1 the window's class
  const char* vendorIn;  // %1 the vendor text, %2 the window
  const char* summaryVendor;  // %1 windows, %2 texts, %3 vendor texts, %4 their list
  const char* summaryClean;   // %1 windows, %2 texts
  // The report.
  const char* htmlLanguage;
  const char* reportTitle;  // %1 the product, %2 the date and time
  const char* launcherNotRunningNote;
  const char* seenAt;       // %1 the time
  const char* changedAt;    // %1 the time
  const char* windowClass;  // %1 the class
  const char* fromScreen;
  const char* noPicture;
  const char* pictureNotKept;
  const char* titleRow;
  const char* columnControl;
  const char* columnText;
  const char* columnVendorWord;
  const char* noText;
  const char* wordsHeading;
  const char* wordsNote;
  const char* notRead;
  const char* findingAdvice;
};

const CheckWording& CheckWordingForSystem();

// The pattern with %1, %2... replaced by the arguments in order.
std::string Fill(const char* pattern, std::initializer_list<std::string> args);
// "1 window", "7 windows": the count with the one or the many form.
std::string Count(size_t n, const char* one, const char* many);
