#include "winsys/Graphics.h"

#include <stdexcept>

namespace winsys {

namespace {

constexpr TColor kSystemColorIndex = 0xFF;

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if (color & kSystemColorFlag) return ::GetSysColor(static_cast<int>(color & kSystemColorIndex));
  return color;
}

TFont::TFont(const FontStyle& style)
    : handle_(::CreateFontA(style.height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE,
                            style.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            style.name)),
      color_(style.color) {}

TBitmap::TBitmap(const char* resourceName)
    : handle_(static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), resourceName,
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
  DIBSECTION dib{};
  if (handle_ && ::GetObjectA(handle_.get(), sizeof dib, &dib) == sizeof dib) {
    width_ = dib.dsBmih.biWidth;
    height_ = dib.dsBmih.biHeight < 0 ? -dib.dsBmih.biHeight : dib.dsBmih.biHeight;
  }
}

void TBitmap::Draw(HDC dc, int x, int y) const {
  MemoryDC source(::CreateCompatibleDC(dc));
  SelectedObject selected(source.get(), handle_.get());
  ::BitBlt(dc, x, y, width_, height_, source.get(), 0, 0, SRCCOPY);
}

void TBitmap::StretchDraw(HDC dc, const RECT& r) const {
  MemoryDC source(::CreateCompatibleDC(dc));
  SelectedObject selected(source.get(), handle_.get());
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source.get(), 0, 0, width_,
               height_, SRCCOPY);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (!handle_) throw std::runtime_error("Canvas does not allow drawing");
  bitmap.Draw(handle_, x, y);
}

void FillBackground(HDC dc, HWND wnd, TColor color) {
  RECT r;
  ::GetClientRect(wnd, &r);
  BrushHandle brush(::CreateSolidBrush(ColorToRGB(color)));
  ::FillRect(dc, &r, brush.get());
}

void PaintText(HDC dc, const std::string& text, const TFont& font, RECT r, UINT format) {
  SelectedObject selected(dc, font.Handle());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ColorToRGB(font.Color()));
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

}  // namespace winsys
