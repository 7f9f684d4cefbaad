#include "check/Watcher.h"

#include <algorithm>

#include "lookup/uProcessIDWin.h"
#include "text/VendorWords.h"
#include "winsys/Win32Pictures.h"
#include "winsys/Win32Shell.h"
#include "winsys/Win32Windows.h"

namespace {

// A window is read once its stored texts stayed the same this long; one
// that keeps changing (a progress window) is read at the latest this long
// after it first changed.
constexpr DWORD kSettleMs = 200;
constexpr DWORD kLongestUnreadMs = 1000;
// The longest one read waits for the window's thread, as the launcher's
// own sends do; a text is read up to this many bytes.
constexpr UINT kReadTimeoutMs = 200;
constexpr size_t kMaxTextBytes = 64 * 1024;
// Readings of one window kept with their picture before only those showing
// a new vendor text are.
constexpr int kPicturesPerWindow = 5;
// A pixel no window paints all over: a picture still all of it was not painted.
constexpr unsigned char kUnpainted[3] = {0x01, 0x02, 0x03};

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

std::vector<HWND> VisibleDescendants(HWND wnd) {
  std::vector<HWND> found;
  winsys::EnumChildWindows(
      wnd,
      [](HWND child, LPARAM context) {
        if (winsys::IsWindowVisible(child))
          reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
        return true;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// What changes when a title or visible text changes, read from the texts the
// platform stores for each window: no message reaches the companion.
std::string Signature(HWND wnd) {
  std::string signature = winsys::GetWindowTextA(wnd);
  for (HWND child : VisibleDescendants(wnd)) {
    signature += '\0';
    signature += std::to_string(reinterpret_cast<UINT_PTR>(child));
    signature += '\0';
    signature += winsys::GetWindowTextA(child);
  }
  return signature;
}

// The window's text as it shows it; where its thread does not answer in
// time, the text the platform stores for it.
SeenText ReadText(HWND wnd) {
  SeenText seen{winsys::GetClassNameA(wnd), {}, {}};
  seen.text = winsys::SendGetTextTimeout(wnd, kReadTimeoutMs, kMaxTextBytes)
                  .value_or(winsys::GetWindowTextA(wnd));
  seen.vendorWord = VendorWordIn(seen.text);
  return seen;
}

void FillUnpainted(winsys::Picture& picture) {
  unsigned char* row = picture.MutablePixels();
  for (int y = 0; y < picture.Height(); ++y, row += picture.Stride())
    for (int x = 0; x < picture.Width(); ++x) std::copy(kUnpainted, kUnpainted + 3, row + x * 3);
}

bool Unpainted(const winsys::Picture& picture) {
  const std::string_view pixels = picture.Pixels();
  for (int y = 0; y < picture.Height(); ++y) {
    const std::string_view row = pixels.substr(y * picture.Stride(), picture.Width() * 3);
    for (size_t i = 0; i < row.size(); ++i)
      if (static_cast<unsigned char>(row[i]) != kUnpainted[i % 3]) return false;
  }
  return true;
}

// The picture as a BMP file: the file's header, the picture's, its rows.
std::string BmpFile(const winsys::Picture& picture) {
  const std::string_view pixels = picture.Pixels();
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  info.biSize = sizeof info;
  info.biWidth = picture.Width();
  info.biHeight = picture.Height();
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  std::string bmp(reinterpret_cast<const char*>(&file), sizeof file);
  bmp.append(reinterpret_cast<const char*>(&info), sizeof info);
  bmp.append(pixels);
  return bmp;
}

// The window as it paints itself; where it does not (it is busy, or the
// platform cannot hand it this program's picture), what the screen shows
// at its place. PrintWindow waits for the window's thread without a
// time-out, so it is asked only of a thread that has just answered.
void TakePicture(HWND wnd, WindowRecord& record) {
  record.picture = WindowRecord::Picture::None;
  const RECT r = winsys::GetWindowRect(wnd);
  if (!HasArea(r)) return;
  winsys::Picture picture(r.right - r.left, r.bottom - r.top);
  if (!picture) return;
  FillUnpainted(picture);
  const bool painted = winsys::AnswersWithin(wnd, kReadTimeoutMs) &&
                       winsys::PrintWindow(wnd, picture.dc()) && !Unpainted(picture);
  if (!painted && !winsys::CopyFromScreen(picture, r)) return;
  record.picture = painted ? WindowRecord::Picture::Painted : WindowRecord::Picture::FromScreen;
  record.bitmap = BmpFile(picture);
}

}  // namespace

std::vector<HWND> VisibleTopWindowsOf(DWORD pid) {
  std::vector<HWND> windows;
  for (HWND wnd : TopWindows())
    if (winsys::GetWindowThreadProcessId(wnd) == pid && winsys::IsWindowVisible(wnd) &&
        HasArea(winsys::GetWindowRect(wnd)))
      windows.push_back(wnd);
  return windows;
}

Watcher::Tracked& Watcher::Track(HWND wnd, DWORD nowMs) {
  auto found = std::find_if(tracked_.begin(), tracked_.end(),
                            [wnd](const Tracked& t) { return t.wnd == wnd; });
  if (found != tracked_.end()) return *found;
  return tracked_.emplace_back(Tracked{wnd, {}, false, {}, nowMs, nowMs, false, {}, 0});
}

void Watcher::Poll(DWORD pid, DWORD nowMs) {
  for (HWND wnd : VisibleTopWindowsOf(pid)) {
    const std::string signature = Signature(wnd);
    Tracked& t = Track(wnd, nowMs);
    if (t.read && signature == t.recorded) {
      t.hasPending = false;
      continue;
    }
    if (!t.hasPending || signature != t.pending) {
      if (!t.hasPending) t.unreadSince = nowMs;
      t.hasPending = true;
      t.pending = signature;
      t.pendingSince = nowMs;
    }
    if (nowMs - t.pendingSince >= kSettleMs || nowMs - t.unreadSince >= kLongestUnreadMs)
      Read(t, signature);
  }
}

void Watcher::Finish(DWORD pid) {
  for (HWND wnd : VisibleTopWindowsOf(pid)) {
    const std::string signature = Signature(wnd);
    Tracked& t = Track(wnd, 0);
    if (!t.read || signature != t.recorded) Read(t, signature);
  }
}

void Watcher::Read(Tracked& tracked, const std::string& signature) {
  WindowRecord record{tracked.wnd, ReadText(tracked.wnd), {}, {},
                      WindowRecord::Picture::NotKept, winsys::LocalTime(), tracked.read};
  for (HWND child : VisibleDescendants(tracked.wnd)) record.controls.push_back(ReadText(child));
  tracked.recorded = signature;
  tracked.hasPending = false;
  tracked.read = true;

  bool shows = false;  // a text new to the window
  bool showsVendor = false;
  auto note = [&](const SeenText& seen) {
    if (!tracked.texts.insert(seen.className + '\0' + seen.text).second) return;
    shows = true;
    showsVendor = showsVendor || !seen.vendorWord.empty();
  };
  note(record.title);
  for (const SeenText& control : record.controls) note(control);
  if (!shows) return;
  if (tracked.pictures < kPicturesPerWindow || showsVendor) {
    TakePicture(tracked.wnd, record);
    ++tracked.pictures;
  }
  records_.push_back(std::move(record));
  onRecord_(records_.back());
}
