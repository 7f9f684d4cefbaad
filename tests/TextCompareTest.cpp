#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "text/TextCompare.h"
#include "text/TextTable.h"

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

// Runs with Wine's ANSI code page set to 936 (see tests/CMakeLists.txt).
TEST(HasPrefixCp936, GbkTextsCompareAsTheyStand) {
  ASSERT_EQ(GetACP(), 936u);
  const std::string designCn = PrefixDesignCn;
  EXPECT_TRUE(HasPrefix(designCn, designCn.substr(0, 4)));  // "系统" is a prefix of "系统设计："
  EXPECT_FALSE(HasPrefix(designCn, designCn + "Torvin Eskel"));
  EXPECT_TRUE(HasPrefix(designCn + "Torvin Eskel", designCn));
  EXPECT_TRUE(HasPrefix("\xCD\xF8\xD6\xB7\xA3\xBA", PrefixWebCn));  // "网址："
  EXPECT_FALSE(HasPrefix(PrefixSupportCn, designCn.substr(0, 4)));
  EXPECT_TRUE(HasPrefix(std::string(CompanyCn) + " \xB0\xE6\xC8\xA8", CompanyCn));
  EXPECT_TRUE(HasPrefix("tamsu\xCF\xB5\xC1\xD0\xB1\xE0\xB3\xCC\xC6\xF7 V6", ProductSeriesCn));
}

}  // namespace
