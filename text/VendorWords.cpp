#include "text/VendorWords.h"

#include <algorithm>

#include "text/TextCompare.h"
#include "text/TextTable.h"
#include "winsys/Win32Shell.h"

namespace {

constexpr UINT kChineseCodePage = 936;

// The product name the Chinese main title carries before its blanks,
// "Tamsu编程器"; the English one is ProductEn.
constexpr char ProductNameCn[] = "Tamsu\xB1\xE0\xB3\xCC\xC6\xF7";

// The connection-failure titles name no vendor and are not listed.
const char* const kCompanionVendorTexts[] = {
    TitleMainCn,        TitleMainEn,      TitleAboutCn,       TitleAboutEn,
    ProductNameCn,      ProductEn,        ProductSeriesCn,    CompanyCn,
    CompanyEn,          DesignerName,     VendorWebAddress,   VendorWebAddress2,
    VendorSupportEmail, PrefixDesignCn,   PrefixDesignEn,     PrefixSupportCn,
    PrefixEmail,        PrefixWebCn,      PrefixWebsite,
};

bool IsAscii(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return (c & 0x80) == 0; });
}

}  // namespace

// A Chinese word's GBK bytes mean other characters in any other code page.
const std::vector<std::string_view>& VendorWords() {
  static const std::vector<std::string_view> words = [] {
    const bool chinese = winsys::AnsiCodePage() == kChineseCodePage;
    std::vector<std::string_view> all;
    auto add = [&](std::string_view word) {
      if (chinese || IsAscii(word)) all.push_back(word);
    };
    for (const char* word : kCompanionVendorTexts) add(word);
    for (const char* const* word = BrandVendorWords; *word; ++word) add(*word);
    return all;
  }();
  return words;
}

std::string_view VendorWordIn(std::string_view text) {
  for (std::string_view word : VendorWords())
    if (ContainsWord(text, word)) return word;
  return {};
}
