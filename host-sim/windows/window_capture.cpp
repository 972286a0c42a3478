// Window capture for the Windows host (see window_capture.h).
#include "host-sim/windows/window_capture.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <type_traits>
#include <vector>

namespace lumo::hostsim {
namespace {

// Each GDI object and DC released by its own function, whatever path returns.
template <auto Release>
struct Releaser {
  template <typename T>
  void operator()(T handle) const {
    Release(handle);
  }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, Releaser<&DeleteDC>>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, Releaser<&DeleteObject>>;

// The device context of a whole window, frame included.
struct WindowDc {
  explicit WindowDc(HWND w) : window(w), dc(GetWindowDC(w)) {}
  ~WindowDc() {
    if (dc) ReleaseDC(window, dc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HWND window;
  HDC dc;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Rows of a 24-bit bitmap are padded to four bytes.
std::size_t rowBytes(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }

void put16(std::vector<unsigned char>& out, std::uint16_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

// The BMP file header and a BITMAPINFOHEADER for bottom-up rows, written
// field by field so the file's layout does not depend on struct packing.
std::vector<unsigned char> bmpHeader(int width, int height) {
  constexpr std::uint32_t kHeaders = 14 + 40;
  auto imageBytes = static_cast<std::uint32_t>(rowBytes(width) * static_cast<std::size_t>(height));
  std::vector<unsigned char> h;
  h.push_back('B');
  h.push_back('M');
  put32(h, kHeaders + imageBytes);
  put32(h, 0);
  put32(h, kHeaders);
  put32(h, 40);
  put32(h, static_cast<std::uint32_t>(width));
  put32(h, static_cast<std::uint32_t>(height));
  put16(h, 1);   // planes
  put16(h, 24);  // bits per pixel
  put32(h, 0);   // BI_RGB
  put32(h, imageBytes);
  put32(h, 2835);  // 72 dots per inch, in dots per metre
  put32(h, 2835);
  put32(h, 0);
  put32(h, 0);
  return h;
}

// Makes the window and every child paint now, in front of everything and
// active, as a user sees it. A modal dialog shows itself only once its
// message queue runs empty, which a driven dialog's never does.
void paintNow(HWND window) {
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
  GdiFlush();
}

}  // namespace

std::string captureWindowToBmp(HWND window, const std::string& path) {
  if (!IsWindow(window)) return "no window to capture";
  paintNow(window);
  RECT r{};
  GetWindowRect(window, &r);
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return "the window has no area to capture";

  WindowDc source(window);
  if (!source.dc) return "no device context to capture from";
  MemoryDc memory(CreateCompatibleDC(source.dc));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as the file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(source.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || !bits)
    return "cannot make a bitmap of " + std::to_string(width) + "x" + std::to_string(height);
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  BOOL copied = BitBlt(memory.get(), 0, 0, width, height, source.dc, 0, 0, SRCCOPY);
  GdiFlush();
  SelectObject(memory.get(), old);
  if (!copied) return "cannot copy the window's pixels";

  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return "cannot write " + path;
  std::vector<unsigned char> header = bmpHeader(width, height);
  std::size_t imageBytes = rowBytes(width) * static_cast<std::size_t>(height);
  bool written = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size() &&
                 std::fwrite(bits, 1, imageBytes, file.get()) == imageBytes;
  if (std::fclose(file.release()) != 0 || !written) return "cannot write " + path;
  return {};
}

}  // namespace lumo::hostsim
