// Cases that run once in each of the companion's languages. Each language
// is a suite of its own, and the Chinese suite's name contains Cp936: that
// runs it with Wine's ANSI code page set to 936 (see tests/CMakeLists.txt).
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "text/TextTable.h"

struct Language {
  const char* name;  // what the companion is told to speak (KORVASTEL_LANG)
  bool chinese;
  const char* mainBrand;
  const char* aboutBrand;
};

inline constexpr Language kEnglish = {"en", false, BrandMainEn, BrandAboutEn};
inline constexpr Language kChinese = {"cn", true, BrandMainCn, BrandAboutCn};

// Names the case's language where the cases are listed.
inline void PrintTo(const Language& language, std::ostream* out) { *out << language.name; }

#define INSTANTIATE_IN_BOTH_LANGUAGES(suite)                             \
  INSTANTIATE_TEST_SUITE_P(English, suite, ::testing::Values(kEnglish)); \
  INSTANTIATE_TEST_SUITE_P(ChineseCp936, suite, ::testing::Values(kChinese))
