// The program at every display scale: the form descriptions laid out at the
// monitor's DPI (each edge scaled with MulDiv), fonts at the scaled height,
// the drawing at the scaled sizes, and a move to a monitor of another DPI.
#include <functional>
#include <map>

#include "app/OBAbout.h"
#include "app/tray_images.h"
#include "platform/framework/rounding.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

int Scale(int length, int dpi) { return MulDiv(length, dpi, 96); }

// Every control of a form, with what its window shows of it.
struct Placed {
  Rect bounds;
  int font_height;
  std::optional<Rect> window;  // the peer's, for a control with a window
  std::optional<int> window_font;
  friend bool operator==(const Placed&, const Placed&) = default;
};

std::map<std::string, Placed> Layout(const TWinControl& container) {
  std::map<std::string, Placed> all;
  const std::function<void(const TWinControl&)> walk = [&](const TWinControl& parent) {
    for (const TControl* child : parent.Controls()) {
      Placed placed{child->BoundsRect(), child->ScaledFont().height, {}, {}};
      if (child->IsWindowed()) {
        const auto* windowed = static_cast<const TWinControl*>(child);
        if (const auto* peer = dynamic_cast<const sim::SimWindow*>(windowed->Peer())) {
          placed.window = peer->control.bounds;
          placed.window_font = peer->control.font.height;
        }
        walk(*windowed);
      }
      all.emplace(child->Name(), placed);
    }
  };
  walk(container);
  return all;
}

class Dpi : public ProgramTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    sim.widgets.dpi = GetParam();
    Start().Show();
  }
};

TEST_P(Dpi, EveryControlIsLaidOutFromItsDescriptionScaledEdgeByEdge) {
  const int dpi = GetParam();
  EXPECT_EQ(form->FormDpi(), dpi);
  EXPECT_EQ(form->ClientWidth(), Scale(405, dpi));
  EXPECT_EQ(form->ClientHeight(), Scale(275, dpi));
  for (const auto& [name, placed] : Layout(*form)) {
    SCOPED_TRACE(name);
    const TControl* control = static_cast<const TControl*>(form->FindComponent(name));
    ASSERT_NE(control, nullptr);
    const Rect d = control->DesignBounds();
    EXPECT_EQ(placed.bounds, (Rect{Scale(d.left, dpi), Scale(d.top, dpi), Scale(d.right, dpi),
                                   Scale(d.bottom, dpi)}));
    EXPECT_EQ(placed.font_height, Scale(control->Font().height, dpi));
    if (placed.window) {
      EXPECT_EQ(*placed.window, placed.bounds);  // what the window is made at
      EXPECT_EQ(placed.window_font, placed.font_height);
    }
  }
  // The list's columns scale with it.
  const std::vector<ListColumn> columns =
      static_cast<sim::SimListView*>(form->ListView1->Peer())->columns;
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].width, Scale(30, dpi));
  EXPECT_EQ(columns[1].width, Scale(200, dpi));
  EXPECT_EQ(columns[2].width, Scale(150, dpi));
}

TEST_P(Dpi, TheGaugeDrawsItsFramesBorderAndSegmentsAtTheScaledSizes) {
  const int dpi = GetParam();
  TVexGauge& gauge = *form->AG;
  // The frames and the border in from the edge, as at 96 DPI but scaled:
  // an outer raised frame and an inner lowered one, both of width 1, and a
  // border of 6.
  const int o = Scale(1, dpi);
  const int i = Scale(1, dpi);
  const int border = Scale(6, dpi);
  EXPECT_EQ(gauge.SegmentArea(),
            (Rect{o + border + i - 1, o + border + i - 1, gauge.Width() - border - i - o,
                  gauge.Height() - border - i - o}));
  // The segments: lit columns of the scaled width, gaps of the scaled gap,
  // read along the top row of the bar, left of the caption.
  gauge.Show();
  gauge.SetPercentage(100);
  auto* panel = static_cast<sim::SimPanel*>(form->Panel1->Peer());
  panel->Render();
  const Rect area = gauge.SegmentArea();
  const Color lit = sim.drawing.Resolve(gauge.SegmentColor());
  std::string row;
  for (int x = area.left; x < area.left + area.Width() / 4; ++x) {
    row += sim.drawing.GetPixel(panel->Surface(), gauge.Left() + x, gauge.Top() + area.top) == lit
               ? '#'
               : '.';
  }
  // Column x of the gauge is lit when x mod pitch <= width.
  const int width = Scale(8, dpi);
  const int pitch = width + Scale(2, dpi);
  std::string expected;
  for (int x = area.left; x < area.left + area.Width() / 4; ++x) {
    expected += x % pitch <= width ? '#' : '.';
  }
  EXPECT_EQ(row, expected);
}

TEST_P(Dpi, TheAboutBoxAndItsPictureScaleToo) {
  const int dpi = GetParam();
  TAbout about(form);
  about.Show();
  EXPECT_EQ(about.ClientWidth(), Scale(288, dpi));
  EXPECT_EQ(about.ClientHeight(), Scale(286, dpi));
  EXPECT_EQ(about.Image1->Picture().width, Scale(32, dpi));  // drawn anew, not stretched
  EXPECT_EQ(about.Button1->BoundsRect(),
            (Rect{Scale(112, dpi), Scale(219, dpi), Scale(177, dpi), Scale(244, dpi)}));
}

// The notification area shows small icons at the system's size: the icon
// comes at that size, drawn anew (at 96 DPI the picture of every other test).
TEST_P(Dpi, TheTrayIconComesAtTheSystemsSmallIconSize) {
  const int size = Scale(16, GetParam());
  ASSERT_EQ(sim.widgets.SmallIconSize(), size);
  EXPECT_EQ(form->CT1->Icon().Picture(), FlagImage(0, size));
  ClickButton(form->SpeedButton4);  // Minimize puts it there
  const sim::SimNotifyArea::Shown* shown =
      sim.notify_area.Find(TNotifyIconHandler::Window(), form->CT1->Id());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(sim.notify_area.Pixels(shown->data.icon).size(), static_cast<std::size_t>(size) * size);
  EXPECT_EQ(form->FlagImageList->Image(1), FlagImage(1, size));
}

// Drawn anew rather than stretched, the pictures keep the design's mirror
// symmetry at every size, also where a pixel's centre falls on an edge.
TEST(TrayPictures, StayMirrorSymmetricAtEverySize) {
  for (int size : {16, 20, 24, 32, 40}) {
    SCOPED_TRACE(size);
    for (const TPixelImage& image :
         {FlagImage(0, size), FlagImage(1, size), StoredTrayImage(size)}) {
      ASSERT_EQ(image.width, size);
      ASSERT_EQ(image.height, size);
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size / 2; ++x) {
          ASSERT_EQ(image.pixels[y * size + x], image.pixels[y * size + size - 1 - x])
              << "at " << x << "," << y;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, Dpi, ::testing::Values(96, 120, 144, 192),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "dpi";
                         });

class DpiHand : public ProgramTest {};

TEST_F(DpiHand, ValuesAt144DpiRoundHalvesAwayFromZero) {
  sim.widgets.dpi = 144;
  Start().Show();
  EXPECT_EQ(form->ClientWidth(), 608);   // 607.5
  EXPECT_EQ(form->ClientHeight(), 413);  // 412.5
  EXPECT_EQ(form->Panel1->BoundsRect(), (Rect{0, 243, 608, 413}));
  EXPECT_EQ(form->SpeedButton3->BoundsRect(), (Rect{44, 15, 146, 117}));
  EXPECT_EQ(form->Memo1->ScaledFont().height, 32);  // 31.5
  EXPECT_EQ(form->AG->BoundsRect(), (Rect{0, 134, 578, 174}));
}

TEST_F(DpiHand, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutAgainWithoutDrift) {
  sim.widgets.dpi = 144;
  Start().Show();
  const auto at_144 = Layout(*form);
  app.reset();
  sim.widgets.dpi = 96;
  Start().Show();
  const auto at_96 = Layout(*form);
  auto* peer = static_cast<sim::SimForm*>(form->Peer());
  peer->MoveToMonitor(144, Rect{1920, 100, 2540, 560});
  EXPECT_EQ(form->FormDpi(), 144);
  EXPECT_EQ(Layout(*form), at_144);  // as if it had started there
  EXPECT_EQ(peer->placed_at, (Rect{1920, 100, 2540, 560}));
  for (int i = 0; i < 3; ++i) {
    peer->MoveToMonitor(120, Rect{});
    peer->MoveToMonitor(96, Rect{});
  }
  EXPECT_EQ(Layout(*form), at_96);  // each time from the description, no rounding piles up
  // The program still works at the new scale.
  peer->MoveToMonitor(192, Rect{});
  ClickButton(form->SpeedButton1);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace velocane::testing
