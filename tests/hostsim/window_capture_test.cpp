// The Windows host's window capture on a real dialog (ui_caller's dialog
// 100): the file is a 24-bit BMP of the dialog's window size, its rows in the
// right order and the controls' pixels in it; a window or path that cannot be
// captured is an error.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host-sim/core/window_system.h"
#include "support/temp_dir.h"
#include "ui_caller.h"

namespace lumo::hostsim {
namespace {

using lumo::testing::readBytes;
using lumo::testing::TempDir;

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return v;
}

struct Bmp {
  std::string bytes;
  int width() const { return static_cast<int>(le32(bytes, 18)); }
  int height() const { return static_cast<int>(le32(bytes, 22)); }
  int bitsPerPixel() const { return static_cast<unsigned char>(bytes[28]); }
  // The colour at a point counted from the window's top left corner.
  COLORREF at(POINT p) const {
    std::size_t stride = (static_cast<std::size_t>(width()) * 3 + 3) & ~std::size_t{3};
    std::size_t row = static_cast<std::size_t>(height() - 1 - p.y);  // rows are stored bottom-up
    std::size_t i = le32(bytes, 10) + row * stride + static_cast<std::size_t>(p.x) * 3;
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
    return RGB(byte(2), byte(1), byte(0));
  }
};

// A point of a dialog, `x` `y` in dialog units, in the window's coordinates
// (frame and caption included).
POINT windowPoint(HWND dialog, int x, int y) {
  RECT units{x, y, x, y};
  MapDialogRect(dialog, &units);
  POINT p{units.left, units.top};
  ClientToScreen(dialog, &p);
  RECT window{};
  GetWindowRect(dialog, &window);
  return {p.x - window.left, p.y - window.top};
}

class WindowCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    windows = makeWindowSystem();
    setActiveWindowSystem(windows.get());
    windows->watchModule(uiCallerModule());
  }
  void TearDown() override { setActiveWindowSystem(nullptr); }

  // Opens the test dialog, runs `action` on it, then closes it.
  void onDialog(std::function<void(HWND)> action) {
    windows->queueDialogAction([&](HWND d) {
      action(d);
      return std::string();
    });
    windows->queueDialogAction([](HWND d) {
      SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
      return std::string();
    });
    UiDialogOutcome outcome;
    EXPECT_EQ(uiRunDialog(windows->mainWindow(), &outcome), IDCANCEL);
    EXPECT_TRUE(windows->takeErrors().empty());
  }

  std::unique_ptr<WindowSystem> windows;
  TempDir dir;
};

TEST_F(WindowCapture, WritesTheDialogAsDrawnInTheWindowsSize) {
  std::string path = dir.file("dialog.bmp");
  std::string error = "not run";
  SIZE size{};
  POINT inEdit{}, besideCheckBox{};
  onDialog([&](HWND d) {
    error = windows->captureWindow(d, path);
    RECT r{};
    GetWindowRect(d, &r);
    size = {r.right - r.left, r.bottom - r.top};
    inEdit = windowPoint(d, 100, 15);          // the edit box's blank right part
    besideCheckBox = windowPoint(d, 150, 28);  // bare dialog face
  });
  ASSERT_EQ(error, "");
  Bmp bmp{readBytes(path)};
  ASSERT_GE(bmp.bytes.size(), 54u);
  EXPECT_EQ(bmp.bytes.substr(0, 2), "BM");
  EXPECT_EQ(bmp.width(), size.cx);
  EXPECT_EQ(bmp.height(), size.cy);
  EXPECT_EQ(bmp.bitsPerPixel(), 24);
  std::size_t stride = (static_cast<std::size_t>(size.cx) * 3 + 3) & ~std::size_t{3};
  ASSERT_EQ(bmp.bytes.size(), 54 + stride * static_cast<std::size_t>(size.cy));
  EXPECT_EQ(le32(bmp.bytes, 2), bmp.bytes.size());
  // The edit box's white lies where the dialog puts it; read upside down,
  // that point would fall on the OK button's face.
  EXPECT_EQ(bmp.at(inEdit), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(bmp.at(besideCheckBox), GetSysColor(COLOR_BTNFACE));
}

TEST_F(WindowCapture, AFileThatCannotBeWrittenOrANonWindowIsAnError) {
  std::string path = dir.file("missing-folder/dialog.bmp");
  std::string error;
  onDialog([&](HWND d) { error = windows->captureWindow(d, path); });
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(windows->captureWindow(nullptr, dir.file("none.bmp")), "");
}

}  // namespace
}  // namespace lumo::hostsim
