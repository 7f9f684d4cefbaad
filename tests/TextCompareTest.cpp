#include <gtest/gtest.h>

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

}  // namespace
