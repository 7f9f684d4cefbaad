#include "text/TextCompare.h"

#include <array>
#include <string>

#include "winsys/Win32Shell.h"

bool TextEquals(std::string_view a, std::string_view b) { return a == b; }

bool HasPrefix(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  if (prefix.empty()) return true;
  return winsys::CompareStringNoCase(text.substr(0, prefix.size()), prefix);
}

namespace {

// Each byte in lower case, as a character of one byte; asked of the
// platform once.
const std::array<char, 256>& LowerCase() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> lower{};
    for (int b = 0; b < 256; ++b) lower[b] = winsys::LowerCaseChar(static_cast<char>(b));
    return lower;
  }();
  return table;
}

// The text with its characters of one byte in lower case, and whether each
// byte starts a character.
struct Folded {
  std::string bytes;
  std::string starts;  // 1 where a character starts
};

Folded Fold(std::string_view text) {
  Folded folded{std::string(text), std::string(text.size(), '\0')};
  for (size_t i = 0; i < text.size(); ++i) {
    folded.starts[i] = 1;
    if (winsys::IsLeadByte(text[i]) && i + 1 < text.size())
      ++i;  // both bytes as they stand
    else
      folded.bytes[i] = LowerCase()[static_cast<unsigned char>(text[i])];
  }
  return folded;
}

}  // namespace

bool ContainsWord(std::string_view text, std::string_view word) {
  if (word.empty() || text.size() < word.size()) return false;
  const Folded t = Fold(text);
  const std::string w = Fold(word).bytes;
  for (size_t at = t.bytes.find(w); at != std::string::npos; at = t.bytes.find(w, at + 1))
    if (t.starts[at]) return true;
  return false;
}
