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
  IconDirEntry entries[3];  // `count` of them: the brand's icon has three
};
#pragma pack(pop)

// The caption, the taskbar and Alt+Tab each get an image of their own size.
TEST(Resources, MainIconHolds16_32And48PixelImagesWithAlpha) {
  HRSRC res = FindResourceA(nullptr, "MAINICON", MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
  ASSERT_NE(res, nullptr);
  const auto* dir = static_cast<const IconDir*>(LockResource(LoadResource(nullptr, res)));
  ASSERT_EQ(dir->count, 3);
  const int sizes[] = {16, 32, 48};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(dir->entries[i].width, sizes[i]) << i;
    EXPECT_EQ(dir->entries[i].height, sizes[i]) << i;
    EXPECT_EQ(dir->entries[i].bitCount, 32) << i;
  }
}

}  // namespace
