// The real program under Wine with the display's DPI set (the LogPixels
// setting, read by each process as it starts): at 96 the window of every
// other test, at 120, 144 and 192 the same layout scaled, its fonts made at
// the scaled heights and nothing outside its window. Runs alone: every Wine
// process started meanwhile would take the DPI set here.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/driver/driver.h"

namespace velocane {
namespace {

using namespace driver;

const wchar_t kDesktop[] = L"Control Panel\\Desktop";

// Set before the test's first window call: the process's awareness is fixed then.
const bool kAware = ReadRectanglesUnscaled();

int Scale(int value, int dpi) { return MulDiv(value, dpi, 96); }

// A window's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The font of another process's control cannot be read from here; the
// height a combo box gives its items is the font's, so it stands for it.
int FontHeight(HWND window) {
  if (ClassOf(window) != L"ComboBox") return 0;
  const LRESULT height = SendMessageW(window, CB_GETITEMHEIGHT, 0, 0);
  return height == CB_ERR ? 0 : static_cast<int>(height);
}

// What is measured of one window: its client size and, for each child (by
// class and position among those of its class), its place and font height.
struct Child {
  std::wstring name;
  RECT place{};
  int font = 0;
  bool visible = false;
};
struct Layout {
  SIZE client{};
  std::vector<Child> children;
};

Layout Measure(HWND window) {
  Layout layout;
  RECT client{};
  GetClientRect(window, &client);
  layout.client = {client.right, client.bottom};
  std::map<std::wstring, int> seen;
  for (HWND child : Children(window)) {
    if (GetParent(child) != window) continue;
    const std::wstring cls = ClassOf(child);
    layout.children.push_back({cls + L"#" + std::to_wstring(seen[cls]++), PlaceOf(child),
                               FontHeight(child), IsWindowVisible(child) != FALSE});
  }
  return layout;
}

bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
bool operator==(const Child& a, const Child& b) {
  return a.name == b.name && a.place == b.place && a.font == b.font && a.visible == b.visible;
}

// Some controls are made or placed after the first picture: the layout is
// read once two readings half a second apart agree.
Layout Settled(HWND window) {
  Layout last = Measure(window);
  WaitUntil(
      [&] {
        Sleep(500);
        Layout now = Measure(window);
        const bool same = now.children == last.children && now.client.cx == last.client.cx &&
                          now.client.cy == last.client.cy;
        last = std::move(now);
        return same;
      },
      15000);
  return last;
}

// Pixels unlike the background in the about box's strip right of its
// bevel, down to the bevel's foot: text that overran its box lands there.
int InkRightOfTheBevel(HWND about, int dpi) {
  RECT client{};
  GetClientRect(about, &client);
  POINT origin{0, 0};
  ClientToScreen(about, &origin);
  const RECT strip{origin.x + Scale(286, dpi), origin.y + Scale(8, dpi), origin.x + client.right,
                   origin.y + Scale(81, dpi)};
  const std::vector<DWORD> pixels = CaptureScreen(strip);
  if (pixels.empty()) return -1;
  int ink = 0;
  for (DWORD pixel : pixels) ink += pixel != pixels[0] ? 1 : 0;
  return ink;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// `at` is `base` scaled to `dpi`: edges within two pixels, as rounding each
// on its own allows (a combo box's height is the system's, from its font);
// fonts within one; what lies inside the window at 96 DPI inside it still.
void ExpectScaled(const Layout& base, const Layout& at, int dpi) {
  EXPECT_NEAR(at.client.cx, Scale(base.client.cx, dpi), 2);
  EXPECT_NEAR(at.client.cy, Scale(base.client.cy, dpi), 2);
  ASSERT_EQ(at.children.size(), base.children.size());
  for (std::size_t i = 0; i < at.children.size(); ++i) {
    const Child& b = base.children[i];
    const Child& c = at.children[i];
    SCOPED_TRACE(Narrow(c.name));
    ASSERT_EQ(c.name, b.name);
    EXPECT_NEAR(c.place.left, Scale(b.place.left, dpi), 2);
    EXPECT_NEAR(c.place.top, Scale(b.place.top, dpi), 2);
    EXPECT_NEAR(c.place.right, Scale(b.place.right, dpi), 2);
    if (c.name.rfind(L"ComboBox", 0) != 0) {
      EXPECT_NEAR(c.place.bottom, Scale(b.place.bottom, dpi), 2);
    }
    if (b.font != 0) {
      EXPECT_NEAR(c.font, Scale(b.font, dpi), 1);
    }
    if (c.visible && b.place.left >= 0 && b.place.top >= 0 && b.place.right <= base.client.cx &&
        b.place.bottom <= base.client.cy) {
      EXPECT_GE(c.place.left, 0);
      EXPECT_GE(c.place.top, 0);
      EXPECT_LE(c.place.right, at.client.cx);
      EXPECT_LE(c.place.bottom, at.client.cy);
    }
  }
}

class DpiE2E : public ::testing::Test {
 protected:
  DpiE2E()
      : settings_(InternetSettingsPlaces()),
        desktop_({{HKEY_CURRENT_USER, kDesktop, L"LogPixels"}}) {}

  struct Seen {
    Layout main;
    Layout about;
  };

  // Starts the program at `dpi`, measures the main window, opens the about
  // box with a click on About where it is drawn at that scale, measures it,
  // and closes both.
  Seen Run(int dpi, const char* shots = nullptr) {
    WriteDWord(HKEY_CURRENT_USER, kDesktop, L"LogPixels", static_cast<DWORD>(dpi));
    Seen seen;
    RunningProgram program;
    HWND main = WaitForWindow(program.ProcessId(), L"TForm1", L"Velocane", 30000);
    EXPECT_NE(main, nullptr);
    if (main == nullptr) return seen;
    HWND panel = WaitForChild(main, L"TVelocanePanel", L"", 10000);
    EXPECT_NE(panel, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
    if (panel == nullptr) return seen;
    seen.main = Settled(main);
    if (shots != nullptr) {
      Sleep(700);  // lets the window finish painting
      EXPECT_TRUE(WriteWindowPng("Z:" + ShotPath(std::string(shots) + "-main.png"), main));
    }

    POINT at{Scale(kAbout.x, dpi), Scale(kAbout.y, dpi)};
    ClientToScreen(panel, &at);
    EXPECT_TRUE(RealClick(at));
    HWND about = WaitForWindow(program.ProcessId(), L"", L"About", 15000);
    EXPECT_NE(about, nullptr) << "a click on About at " << dpi << " DPI opened nothing";
    if (about != nullptr) {
      HWND ok = WaitForChild(about, L"Button", L"OK", 10000);
      seen.about = Settled(about);
      Sleep(700);  // lets the box finish painting
      EXPECT_EQ(InkRightOfTheBevel(about, dpi), 0) << "text runs past its box at " << dpi << " DPI";
      if (shots != nullptr) {
        EXPECT_TRUE(WriteWindowPng("Z:" + ShotPath(std::string(shots) + "-about.png"), about));
      }
      if (ok != nullptr) NotifyButtonClicked(ok);
      EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND warning = WaitForMessageBox(program.ProcessId(), L"Warning", 30000);
    if (warning != nullptr) PressDialogButton(warning, IDYES);
    EXPECT_TRUE(program.WaitForExit(15000));
    return seen;
  }

  static void Dump(const Layout& layout) {
    for (const Child& c : layout.children) {
      std::printf("    %-24s %4ld %4ld %4ld %4ld font %2d %s\n", Narrow(c.name).c_str(),
                  c.place.left, c.place.top, c.place.right, c.place.bottom, c.font,
                  c.visible ? "shown" : "hidden");
    }
  }
  static void Print(int dpi, const Seen& seen) {
    Dump(seen.main);
    Dump(seen.about);
    std::printf("[ dpi %3d ] main window client %ld x %ld, about box client %ld x %ld\n", dpi,
                seen.main.client.cx, seen.main.client.cy, seen.about.client.cx,
                seen.about.client.cy);
  }

  RegistrySnapshot settings_;
  RegistrySnapshot desktop_;
};

TEST_F(DpiE2E, TheWindowAndTheAboutBoxAreTheirNinetySixDpiLayoutScaled) {
  ASSERT_TRUE(kAware) << "the test could not make itself DPI-aware";
  const Seen base = Run(96);
  Print(96, base);
  EXPECT_EQ(base.main.client.cx, 405);
  EXPECT_EQ(base.main.client.cy, 275);
  EXPECT_EQ(base.about.client.cx, 288);
  EXPECT_EQ(base.about.client.cy, 286);
  ASSERT_FALSE(base.main.children.empty());

  for (int dpi : {120, 144, 192}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    const Seen seen = Run(dpi, dpi == 144 ? "dpi-144" : nullptr);
    Print(dpi, seen);
    ExpectScaled(base.main, seen.main, dpi);
    ExpectScaled(base.about, seen.about, dpi);
  }
}

}  // namespace
}  // namespace velocane
