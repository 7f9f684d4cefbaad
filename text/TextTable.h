// The companion's vocabulary: every text the launcher recognises in the
// companion's windows and every text it writes into them. Each is a fixed byte
// string in the system's ANSI code page; the Chinese ones are GBK (code page
// 936) bytes, compared and written as they stand. Blanks count: the English
// main-window brand ends in one blank, the Chinese one does not, and that blank
// is how the two retitled main windows are told apart.
#pragma once

// The brand's texts, which the launcher writes (BrandMainEn, BrandMainCn,
// BrandAboutEn, BrandAboutCn, BrandProduct, BrandCompany, OwnWebAddress, the
// splash's BrandSplashCaption): generated at build time from the brand folder
// (brands/kestron by default; brand.txt), the Chinese ones as GBK bytes.
#include "KestronBrand.h"

// Companion identity: the file beside the launcher and its process-list name.
inline constexpr char CompanionExeName[] = "Korvastel";

// Addresses of the companion's vendor.
inline constexpr char VendorWebAddress[] = "www.ostrelprog.example";
inline constexpr char VendorWebAddress2[] = "www.drumel.example";
inline constexpr char VendorSupportEmail[] = "support@ostrelprog.example";

// Titles of the companion's own windows. The main titles are the product name,
// nine blanks and VendorWebAddress.
inline constexpr char TitleMainCn[] =  // "Tamsu编程器" + 9 blanks + VendorWebAddress
    "Tamsu\xB1\xE0\xB3\xCC\xC6\xF7         www.ostrelprog.example";
inline constexpr char TitleMainEn[] = "Ostrel Programmer         www.ostrelprog.example";
inline constexpr char TitleAboutCn[] =
    "\xB9\xD8\xD3\xDA Tamsu\xB1\xE0\xB3\xCC\xC6\xF7";  // "关于 Tamsu编程器"
inline constexpr char TitleAboutEn[] = "About Ostrel Programmer";
inline constexpr char TitleConnFailCn[] =  // "编程器连接失败"
    "\xB1\xE0\xB3\xCC\xC6\xF7\xC1\xAC\xBD\xD3\xCA\xA7\xB0\xDC";
inline constexpr char TitleConnFailEn[] = "Failed to connect programmer";

// Attribution texts hidden in the companion's About box.
inline constexpr char DesignerName[] = "Torvin Eskel";
inline constexpr char PrefixDesignCn[] =
    "\xCF\xB5\xCD\xB3\xC9\xE8\xBC\xC6\xA3\xBA";  // "系统设计："
inline constexpr char PrefixDesignEn[] = "Designed";
inline constexpr char PrefixSupportCn[] =
    "\xB3\xD6\xCA\xF5\xBC\xBC\xB3\xD6\xA3\xBA";  // "持术技持："
inline constexpr char PrefixEmail[] = "Email";
inline constexpr char PrefixWebCn[] = "\xCD\xF8";  // "网"
inline constexpr char PrefixWebsite[] = "Website";

// Company and product texts replaced by the brand.
inline constexpr char CompanyCn[] =  // "深圳Drumel科技有限公司"
    "\xC9\xEE\xDB\xDA"
    "Drumel"
    "\xBF\xC6\xBC\xBC\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE";
inline constexpr char ProductSeriesCn[] =
    "Tamsu\xCF\xB5\xC1\xD0\xB1\xE0\xB3\xCC\xC6\xF7";  // "Tamsu系列编程器"
inline constexpr char ProductEn[] = "Ostrel Programmer";
inline constexpr char CompanyEn[] = "ShenZhen Pelta";

inline constexpr char RichEditClass[] = "RICHEDIT";
inline constexpr char OpenVerb[] = "open";
