// Colours, fonts, bitmaps, the canvas that draws on a borrowed context, and
// the painting the framework's windows share.
#pragma once

#include <windows.h>

#include <string>

#include "winsys/Handles.h"

namespace winsys {

// A colour: an RGB value, or a system colour index marked by the high bit.
using TColor = DWORD;
constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<DWORD>(index); }
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
COLORREF ColorToRGB(TColor color);

struct FontStyle {
  const char* name;
  int height;  // negative: character height in pixels
  TColor color;
  bool bold = false;
  bool underline = false;
};

// A font created from a style; the colour is kept for whoever draws with it.
class TFont {
 public:
  explicit TFont(const FontStyle& style);
  HFONT Handle() const { return handle_.get(); }
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

 private:
  FontHandle handle_;
  TColor color_;
};

// A device-dependent copy of a bitmap resource of this program.
class TBitmap {
 public:
  explicit TBitmap(const char* resourceName);
  // Copies the bitmap one to one to (x, y), or stretched into the rectangle.
  void Draw(HDC dc, int x, int y) const;
  void StretchDraw(HDC dc, const RECT& r) const;

 private:
  BitmapHandle handle_;
  int width_ = 0;
  int height_ = 0;
};

// A canvas without a surface of its own: it draws on whatever context it was
// handed last, and never releases that context.
class TCanvas {
 public:
  void SetHandle(HDC dc) { handle_ = dc; }
  // Throws when no context has been handed over.
  void Draw(int x, int y, const TBitmap& bitmap);

 private:
  HDC handle_ = nullptr;
};

// Fills a window's client area with a colour.
void FillBackground(HDC dc, HWND wnd, TColor color);
// Draws text transparently in a font's face and colour.
void PaintText(HDC dc, const std::string& text, const TFont& font, RECT r, UINT format);

}  // namespace winsys
