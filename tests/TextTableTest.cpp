#include <gtest/gtest.h>

#include <string>

#include "text/TextTable.h"

namespace {

TEST(TextTable, MainTitlesAreTheProductNineBlanksAndTheVendorAddress) {
  const std::string vendor = VendorWebAddress;
  for (std::string title : {std::string(TitleMainCn), std::string(TitleMainEn)}) {
    ASSERT_GT(title.size(), vendor.size() + 9) << title;
    EXPECT_EQ(title.substr(title.size() - vendor.size()), vendor) << title;
    const std::string head = title.substr(0, title.size() - vendor.size());
    EXPECT_EQ(head.substr(head.size() - 9), std::string(9, ' ')) << title;
    EXPECT_NE(head[head.size() - 10], ' ') << "more than nine blanks in " << title;
  }
  EXPECT_EQ(std::string(TitleMainEn).substr(0, 17), ProductEn);
}

}  // namespace
