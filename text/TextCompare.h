// The two ways the launcher compares code-page texts.
#pragma once

#include <string_view>

// Byte-for-byte, case-sensitive equality.
bool TextEquals(std::string_view a, std::string_view b);

// True when the text begins with the prefix, compared by the user locale's
// case-insensitive comparison. Never compares when the text is shorter than
// the prefix; an empty prefix holds for every text.
bool HasPrefix(std::string_view text, std::string_view prefix);
