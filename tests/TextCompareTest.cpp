#include <windows.h>
#include <gtest/gtest.h>

#include <vector>

#include "text/TextCompare.h"

namespace {

TEST(HasPrefix, ComparesTheTextsHeadIgnoringCase) {
  struct Case {
    const char* text;
    const char* prefix;
    bool holds;
  };
  const Case cases[] = {
      {"Designed by someone", "Designed", true},
      {"designed by someone", "Designed", true},
      {"DESIGNED", "Designed", true},
      {"Design", "Designed", false},  // shorter than the prefix
      {"", "Email", false},
      {"anything", "", true},
      {"", "", true},
      {"Web site: x", "Website", false},
      {"Email: a@b", "Email", true},
      {"xEmail", "Email", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HasPrefix(c.text, c.prefix), c.holds) << c.text << "|" << c.prefix;
}

struct WordCase {
  const char* text;
  const char* word;
  bool found;
};

void ExpectWordCases(const std::vector<WordCase>& cases) {
  for (const auto& c : cases)
    EXPECT_EQ(ContainsWord(c.text, c.word), c.found) << c.text << "|" << c.word;
}

TEST(ContainsWord, FindsTheWordAnywhereInAnyLetterCase) {
  ExpectWordCases({
      {"Device library: DRUMEL 2024", "Drumel", true},
      {"xEmailx", "Email", true},  // anywhere, where HasPrefix looks at the head only
      {"Ostrel", "Ostrel Programmer", false},
      {"anything", "", false},  // an empty word marks nothing
      {"Web site", "Website", false},
  });
}

// GBK: "编程器" is B1E0 B3CC C6F7; 0x81 0x45 is one character whose second
// byte is an "E".
TEST(ContainsWordCp936, ComparesCharactersOfTwoBytesWholeAndNeverSplitsThem) {
  ASSERT_EQ(GetACP(), 936u);
  ExpectWordCases({
      {"\xB1\xE0\xB3\xCC\xC6\xF7", "\xB3\xCC", true},
      {"\xB1\xE0\xB3\xCC\xC6\xF7", "\xE0\xB3", false},  // the end of one and the start of the next
      {"\x81\x45mail", "Email", false},
      {"\x81\x45" "EMAIL", "Email", true},
  });
}

}  // namespace
