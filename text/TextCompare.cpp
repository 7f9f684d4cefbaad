#include "text/TextCompare.h"

#include "winsys/Win32Shell.h"

bool TextEquals(std::string_view a, std::string_view b) { return a == b; }

bool HasPrefix(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  if (prefix.empty()) return true;
  return winsys::CompareStringNoCase(text.substr(0, prefix.size()), prefix);
}
