#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "text/TextTable.h"

namespace {

std::vector<unsigned char> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

struct GbkCase {
  const char* name;
  std::string_view value;
  std::vector<unsigned char> gbk;
};

TEST(TextTable, ChineseEntriesAreTheirGbkBytes) {
  const std::vector<GbkCase> cases = {
      {"TitleAboutCn 关于 Tamsu编程器",
       TitleAboutCn,
       {0xB9, 0xD8, 0xD3, 0xDA, ' ', 'T', 'a', 'm', 's', 'u', 0xB1, 0xE0, 0xB3, 0xCC, 0xC6, 0xF7}},
      {"BrandAboutCn 关于 KESTRON V1.0",
       BrandAboutCn,
       {0xB9, 0xD8, 0xD3, 0xDA, ' ', 'K', 'E', 'S', 'T', 'R', 'O', 'N', ' ', 'V', '1', '.', '0'}},
      {"TitleConnFailCn 编程器连接失败",
       TitleConnFailCn,
       {0xB1, 0xE0, 0xB3, 0xCC, 0xC6, 0xF7, 0xC1, 0xAC, 0xBD, 0xD3, 0xCA, 0xA7, 0xB0, 0xDC}},
      {"PrefixDesignCn 系统设计：",
       PrefixDesignCn,
       {0xCF, 0xB5, 0xCD, 0xB3, 0xC9, 0xE8, 0xBC, 0xC6, 0xA3, 0xBA}},
      {"PrefixSupportCn 持术技持：",
       PrefixSupportCn,
       {0xB3, 0xD6, 0xCA, 0xF5, 0xBC, 0xBC, 0xB3, 0xD6, 0xA3, 0xBA}},
      {"PrefixWebCn 网", PrefixWebCn, {0xCD, 0xF8}},
      {"CompanyCn 深圳Drumel科技有限公司",
       CompanyCn,
       {0xC9, 0xEE, 0xDB, 0xDA, 'D',  'r',  'u',  'm',  'e',  'l',  0xBF,
        0xC6, 0xBC, 0xBC, 0xD3, 0xD0, 0xCF, 0xDE, 0xB9, 0xAB, 0xCB, 0xBE}},
      {"ProductSeriesCn Tamsu系列编程器",
       ProductSeriesCn,
       {'T', 'a', 'm', 's', 'u', 0xCF, 0xB5, 0xC1, 0xD0, 0xB1, 0xE0, 0xB3, 0xCC, 0xC6, 0xF7}},
  };
  for (const auto& c : cases) EXPECT_EQ(Bytes(c.value), c.gbk) << c.name;

  const std::string mainCn = TitleMainCn;
  const std::vector<unsigned char> tamsu = {'T',  'a',  'm',  's',  'u', 0xB1,
                                            0xE0, 0xB3, 0xCC, 0xC6, 0xF7};
  EXPECT_EQ(Bytes(mainCn.substr(0, tamsu.size())), tamsu);
}

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

TEST(TextTable, BrandsDifferOnlyWhereTheyMust) {
  EXPECT_EQ(std::string(BrandMainEn), std::string(BrandMainCn) + " ");
  EXPECT_EQ(std::string(BrandProduct), std::string(BrandMainCn));
  EXPECT_EQ(std::string(BrandAboutEn), "About " + std::string(BrandMainCn));
}

}  // namespace
