#include <windows.h>
#include <gtest/gtest.h>

namespace {

// The pictures as stored: size and depth, from the resource's own header.
TEST(Resources, PicturesHaveTheirSizesAndDepth) {
  struct Case {
    const char* name;
    LONG width, height;
  };
  for (const Case& c : {Case{"SPLASH", 452, 308}, Case{"OVERLAY", 140, 378}}) {
    HRSRC res = FindResourceA(nullptr, c.name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    ASSERT_NE(res, nullptr) << c.name;
    const auto* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, res)));
    EXPECT_EQ(header->biWidth, c.width) << c.name;
    EXPECT_EQ(header->biHeight < 0 ? -header->biHeight : header->biHeight, c.height) << c.name;
    EXPECT_EQ(header->biBitCount, 24) << c.name;
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB)) << c.name;
  }
}

#pragma pack(push, 2)
struct IconDirEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct IconDir {
  WORD reserved, type, count;
  IconDirEntry entries[1];
};
#pragma pack(pop)

TEST(Resources, MainIconIsOne48PixelImageWithAlpha) {
  HRSRC res = FindResourceA(nullptr, "MAINICON", MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
  ASSERT_NE(res, nullptr);
  const auto* dir = static_cast<const IconDir*>(LockResource(LoadResource(nullptr, res)));
  ASSERT_EQ(dir->count, 1);
  EXPECT_EQ(dir->entries[0].width, 48);
  EXPECT_EQ(dir->entries[0].height, 48);
  EXPECT_EQ(dir->entries[0].bitCount, 32);
}

}  // namespace
