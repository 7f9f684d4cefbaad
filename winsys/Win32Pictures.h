// The window-system layer, pictures: a picture in memory that the platform
// draws on, and copying the screen into it.
#pragma once

#include <windows.h>

#include <string_view>

#include "winsys/Handles.h"

namespace winsys {

// A picture of 24 bits a pixel with a drawing context on it. Its rows lie
// in memory bottom-up, each padded to four bytes, as a BMP file stores them.
// Empty (no context) when the platform refused it.
class Picture {
 public:
  Picture(int width, int height);
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  ~Picture();

  explicit operator bool() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  size_t Stride() const { return (static_cast<size_t>(width_) * 3 + 3) / 4 * 4; }
  // The pixels, blue, green, red; read them only once drawing is done.
  std::string_view Pixels() const;
  unsigned char* MutablePixels() { return static_cast<unsigned char*>(bits_); }

 private:
  int width_;
  int height_;
  MemoryDC dc_;
  BitmapHandle bitmap_;
  void* bits_ = nullptr;
  HGDIOBJ previous_ = nullptr;  // the context's own bitmap, put back on destruction
};

// Copies what the screen shows at `r` (screen coordinates) into the picture.
bool CopyFromScreen(const Picture& picture, const RECT& r);

}  // namespace winsys
