#include "text/VendorWords.h"

#include "text/TextCompare.h"
#include "text/TextTable.h"

namespace {

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

}  // namespace

const std::vector<std::string_view>& VendorWords() {
  static const std::vector<std::string_view> words = [] {
    std::vector<std::string_view> all(std::begin(kCompanionVendorTexts),
                                      std::end(kCompanionVendorTexts));
    for (const char* const* word = BrandVendorWords; *word; ++word) all.emplace_back(*word);
    return all;
  }();
  return words;
}

std::string_view VendorWordIn(std::string_view text) {
  for (std::string_view word : VendorWords())
    if (ContainsWord(text, word)) return word;
  return {};
}
