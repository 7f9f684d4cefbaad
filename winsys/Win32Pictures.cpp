#include "winsys/Win32Pictures.h"

namespace winsys {

Picture::Picture(int width, int height)
    : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
  if (!dc_ || width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = BitmapHandle(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  previous_ = ::SelectObject(dc_.get(), bitmap_.get());
  bits_ = bits;
}

Picture::~Picture() {
  if (previous_) ::SelectObject(dc_.get(), previous_);
}

std::string_view Picture::Pixels() const {
  if (!bits_) return {};
  return {static_cast<const char*>(bits_), Stride() * static_cast<size_t>(height_)};
}

bool CopyFromScreen(const Picture& picture, const RECT& r) {
  const ScreenDC screen(::GetDC(nullptr));
  if (!screen) return false;
  const bool copied = ::BitBlt(picture.dc(), 0, 0, r.right - r.left, r.bottom - r.top,
                               screen.get(), r.left, r.top, SRCCOPY) != FALSE;
  ::GdiFlush();
  return copied;
}

}  // namespace winsys
