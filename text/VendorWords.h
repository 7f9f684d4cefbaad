// The words that give the companion's vendor away: a text that contains one
// (ContainsWord) is a vendor text.
#pragma once

#include <string_view>
#include <vector>

// Every vendor text of the companion's vocabulary (its titles, the vendor's
// names and addresses, the attribution prefixes), then the brand's own
// vendor words (the brand kit's vendor_words), each as code-page bytes; the
// Chinese ones only where the system's code page is 936 (GBK).
const std::vector<std::string_view>& VendorWords();

// The first vendor word the text contains; empty when it is clean.
std::string_view VendorWordIn(std::string_view text);
