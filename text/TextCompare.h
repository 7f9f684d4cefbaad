// The ways the launcher and the brand check compare code-page texts.
#pragma once

#include <string_view>

// Byte-for-byte, case-sensitive equality.
bool TextEquals(std::string_view a, std::string_view b);

// True when the text begins with the prefix, compared by the user locale's
// case-insensitive comparison. Never compares when the text is shorter than
// the prefix; an empty prefix holds for every text.
bool HasPrefix(std::string_view text, std::string_view prefix);

// True when the word occurs anywhere in the text, in any letter case of the
// system's code page. A character of two bytes is compared as it stands and
// never split: the word must start where a character of the text starts.
// An empty word occurs in no text.
bool ContainsWord(std::string_view text, std::string_view word);
