#include <windows.h>
#include <gtest/gtest.h>

#include "winsys/Graphics.h"

namespace {

TEST(Resources, PicturesHaveTheirSizes) {
  struct Case {
    const char* name;
    int width, height;
  };
  for (const Case& c : {Case{"SPLASH", 452, 308}, Case{"OVERLAY", 140, 378}}) {
    winsys::TBitmap picture(c.name);
    EXPECT_EQ(picture.Width(), c.width) << c.name;
    EXPECT_EQ(picture.Height(), c.height) << c.name;
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
