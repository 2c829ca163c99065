// The progress-bar, gauge and track-bar skinners under Wine: bars at 0 and
// at a position against the skin's own "Progress" element in both styles
// (the test skin's chunks, the default skin's plain bar), vertical bars,
// only the skinned picture painted, the updater's gauge, the track bar's
// thumb through custom draw, and nothing left behind.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "framework/comctrls.h"
#include "framework/gauges.h"
#include "framework/stdctrls.h"
#include "skin/controls/progress_rules.h"
#include "skin/controls/skin_progress.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/controls/panel_test_fixture.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/support/win/lambda_hooks.h"

namespace skin_test {
namespace {

using skin::win::TSkinProgress;
using skin::win::TSkinTrackBar;
using skin::win::fixtures::SamePixels;

constexpr const char* kBar = R"(  object Bar1: TProgressBar
    Left = 10
    Top = 10
    Width = 200
    Height = 16
  end
)";

class ProgressSkinnerTest : public PanelSkinnerTest {
 protected:
  fw::TProgressBar* NewBar(const std::string& description = kBar) {
    fw::TForm* form = CreateForm(description);
    return dynamic_cast<fw::TProgressBar*>(form->Components(0));
  }
  template <class T>
  T* Skin(fw::TControl* control) {
    auto* skinner = new T(control);
    skinner->Attach(&Controller(), &Data(), false, nullptr);
    return skinner;
  }
  // The bar the skin's element gives for a state, on the skin's face.
  skin::TBitmap Expected(int w, int h, int pos, int min, int max, bool vertical) {
    return skin::BarImage(*Elements().Progress, w, h, {pos, min, max}, vertical, Face());
  }
};

skin::TBitmap Rows(const skin::TPixels& picture, int rows) {
  skin::TBitmap part(picture.Width(), rows, skin::PixelFormat::k32Bit);
  skin::StretchCopy(part, {0, 0, picture.Width(), rows}, picture, {0, 0, picture.Width(), rows});
  return part;
}

TEST_F(ProgressSkinnerTest, ChunkedBarAtZeroAtAPositionAndWithARangeOfZero) {
  ASSERT_EQ(Elements().Progress->Style, 1) << "the test skin draws chunks";
  fw::TProgressBar* bar = NewBar();
  TSkinProgress* skinner = Skin<TSkinProgress>(bar);
  const int w = bar->Width();
  const int h = bar->Height();
  EXPECT_TRUE(SamePixels(Shot(bar->Handle()), 0, 0, Expected(w, h, 0, 0, 100, false), "at 0"));
  bar->SetPosition(30);
  const skin::TBitmap at30 = Shot(bar->Handle());
  EXPECT_TRUE(SamePixels(at30, 0, 0, Expected(w, h, 30, 0, 100, false), "at 30"));
  // The chunks are the skin's chunk image, from the trough's left band on.
  const skin::TDataSkinBorder& e = *Elements().Progress;
  const int chunk_top = (h - e.Bitmap2.Height()) / 2;
  EXPECT_EQ(at30.Pixel(e.Margins.Left, chunk_top), e.Bitmap2.Pixel(0, 0));
  EXPECT_EQ(at30.Pixel(e.Margins.Left + 20, chunk_top), e.Bitmap2.Pixel(20 % e.Bitmap2.Width(), 0));
  EXPECT_NE(at30.Pixel(w - e.Margins.Right - 3, chunk_top), e.Bitmap2.Pixel(0, 0));
  bar->SetMin(0);
  bar->SetMax(0);
  EXPECT_TRUE(SamePixels(Shot(bar->Handle()), 0, 0, Expected(w, h, 0, 0, 100, false),
                         "a range of 0: the trough only"));
  skinner->Free();
}

TEST_F(ProgressSkinnerTest, PlainBarStopsOneRowShortAndStandsUpWhenVertical) {
  UseSkin("default.skn");
  ASSERT_EQ(Elements().Progress->Style, 0);
  fw::TForm* form = CreateForm(R"(  object Bar1: TProgressBar
    Left = 10
    Top = 10
    Width = 200
    Height = 16
    Position = 25
  end
  object Bar2: TProgressBar
    Left = 240
    Top = 10
    Width = 18
    Height = 120
    Orientation = pbVertical
    Position = 75
  end
)");
  auto* across = dynamic_cast<fw::TProgressBar*>(form->FindComponent("Bar1"));
  auto* up = dynamic_cast<fw::TProgressBar*>(form->FindComponent("Bar2"));
  TSkinProgress* a = Skin<TSkinProgress>(across);
  TSkinProgress* b = Skin<TSkinProgress>(up);
  // The last row is the bar's own bottom edge.
  EXPECT_TRUE(SamePixels(Shot(across->Handle()), 0, 0,
                         Rows(Expected(200, 16, 25, 0, 100, false), 15), "plain at 25"));
  const skin::TBitmap standing = Expected(18, 120, 75, 0, 100, true);
  EXPECT_TRUE(SamePixels(Shot(up->Handle()), 0, 0, Rows(standing, 119), "vertical at 75"));
  // Filled from the bottom: the top quarter is trough, the bottom is not.
  const skin::TBitmap trough = Expected(18, 120, 0, 0, 100, true);
  EXPECT_EQ(standing.Pixel(9, 10), trough.Pixel(9, 10));
  EXPECT_NE(standing.Pixel(9, 100), trough.Pixel(9, 100));
  a->Free();
  b->Free();
}

TEST_F(ProgressSkinnerTest, TheBarsOwnPaintingNeverShowsInEitherStyle) {
  for (const char* file : {"test.skn", "default.skn"}) {
    SCOPED_TRACE(file);
    UseSkin(file);
    fw::TProgressBar* bar = NewBar();
    // A spy below the skinner sees what reaches the bar's own handling, and
    // where it paints.
    int on_screen = 0;
    test_support::TLambdaHook spy(*bar, [&](fw::TMessage& m, const fw::TWindowProcHook& h) {
      if (m.Msg == WM_ERASEBKGND || (m.Msg == WM_PAINT && m.WParam == 0)) ++on_screen;
      h.CallPrevious(m);
    });
    TSkinProgress* skinner = Skin<TSkinProgress>(bar);
    Settle(bar->Handle());
    on_screen = 0;
    for (int pos = 0; pos <= 100; pos += 10) {
      bar->SetPosition(pos);
      Settle(bar->Handle());
    }
    EXPECT_EQ(on_screen, 0);
    const skin::TBitmap full = Expected(bar->Width(), bar->Height(), 100, 0, 100, false);
    const int rows = Elements().Progress->Style == 1 ? full.Height() : full.Height() - 1;
    EXPECT_TRUE(SamePixels(Shot(bar->Handle()), 0, 0, Rows(full, rows), "full"));
    skinner->Free();
  }
}

// The updater's gauge: a graphic control on a panel, its bar drawn from the
// same element and its percentage on top.
constexpr const char* kGauge = R"(  object Panel3: TPanel
    Left = 0
    Top = 200
    Width = 420
    Height = 50
    BevelOuter = bvNone
    object Barra: TGauge
      Left = 0
      Top = 20
      Width = 300
      Height = 17
      BackColor = clWhite
      ForeColor = clBlack
      Kind = gkHorizontalBar
      Progress = 0
      ShowText = False
    end
  end
)";

TEST_F(ProgressSkinnerTest, TheUpdatersGaugeIsASkinnedBarWithItsPercentage) {
  fw::TForm* form = CreateForm(kGauge);
  auto* gauge = dynamic_cast<fw::TGauge*>(form->FindComponent("Barra"));
  ASSERT_NE(gauge, nullptr);
  auto* skinner = new TSkinProgress(gauge);
  EXPECT_FALSE(skinner->AttachGraphic(&Controller(), &Data(), nullptr));
  EXPECT_TRUE(
      SamePixels(GraphicShot(*gauge), 0, 0, Expected(300, 17, 0, 0, 100, false), "gauge at 0"));
  gauge->SetMaxValue(250);
  gauge->SetProgress(125);
  const skin::TBitmap bar = Expected(300, 17, 125, 0, 250, false);
  EXPECT_TRUE(SamePixels(GraphicShot(*gauge), 0, 0, bar, "gauge at 125 of 250"));

  // "50%" in the middle, in the skin's button text colour over the trough
  // and its highlighted text colour over the chunks.
  gauge->SetShowText(true);
  const skin::TBitmap with_text = GraphicShot(*gauge);
  int over_trough = 0;
  int over_fill = 0;
  const COLORREF text = fw::ColorToRGB(Elements().ButtonTextColour);
  const COLORREF light = fw::ColorToRGB(Elements().HilightTextColour);
  for (int y = 0; y < 17; ++y) {
    for (int x = 100; x < 200; ++x) {
      if (with_text.Pixel(x, y) == bar.Pixel(x, y)) continue;
      EXPECT_GE(x, 120);  // the text is centred
      if (with_text.Pixel(x, y) == text) ++over_trough;
      if (with_text.Pixel(x, y) == light) ++over_fill;
    }
  }
  EXPECT_GT(over_trough, 0);
  EXPECT_GT(over_fill, 0);

  // A vertical gauge fills from the bottom.
  gauge->SetShowText(false);
  gauge->SetKind(fw::gkVerticalBar);
  gauge->SetBounds(320, 0, 20, 50);
  EXPECT_TRUE(
      SamePixels(GraphicShot(*gauge), 0, 0, Expected(20, 50, 125, 0, 250, true), "vertical gauge"));
  skinner->Free();
}

TEST_F(ProgressSkinnerTest, TrackBarThumbIsFrameTwoOfTheSkinsThumb) {
  fw::TForm* form = CreateForm(R"(  object Track1: TTrackBar
    Left = 10
    Top = 10
    Width = 200
    Height = 32
    Position = 3
  end
  object Track2: TTrackBar
    Left = 240
    Top = 10
    Width = 32
    Height = 150
    Orientation = trVertical
    Position = 7
  end
  object Edit1: TEdit
    Left = 10
    Top = 200
    Width = 100
    Height = 21
  end
)");
  for (const char* name : {"Track1", "Track2"}) {
    auto* track = dynamic_cast<fw::TTrackBar*>(form->FindComponent(name));
    TSkinTrackBar* skinner = Skin<TSkinTrackBar>(track);
    const bool vertical = track->Orientation() == fw::trVertical;
    const skin::TDataSkinObject& e =
        vertical ? *Elements().TrackbarThumbVert : *Elements().TrackbarThumbHorz;
    const skin::TBitmap shot = ClientShot(track->Handle());
    RECT thumb{};
    SendMessageW(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    skin::TBitmap expected(thumb.right - thumb.left, thumb.bottom - thumb.top);
    expected.Fill(skin::kSkinTransparent);
    skin::DrawSkinFrameStretched(expected, {0, 0, expected.Width(), expected.Height()}, e.Bitmap,
                                 false, e.FrameCount, 2);
    EXPECT_TRUE(SamePixels(shot, thumb.left, thumb.top, expected, name));

    // A new skin repaints the bar and leaves the focus where it was.
    auto* edit = dynamic_cast<fw::TEdit*>(form->FindComponent("Edit1"));
    SetFocus(edit->Handle());
    skinner->SkinChanged();
    Settle(track->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
    skinner->Free();
  }
}

TEST_F(ProgressSkinnerTest, AttachAndFreeLeaveNothingBehind) {
  fw::TForm* form = CreateForm(std::string(kBar) + kGauge);
  auto* bar = dynamic_cast<fw::TProgressBar*>(form->FindComponent("Bar1"));
  auto* gauge = dynamic_cast<fw::TGauge*>(form->FindComponent("Barra"));
  const test_support::TLiveCounts before = test_support::Live();
  for (int i = 0; i < 3; ++i) {
    TSkinProgress* a = Skin<TSkinProgress>(bar);
    auto* b = new TSkinProgress(gauge);
    b->AttachGraphic(&Controller(), &Data(), nullptr);
    bar->SetPosition(10 * i);
    gauge->SetProgress(10 * i);
    Settle(form->Handle());
    a->Free();
    b->Free();
  }
  Settle(form->Handle());
  EXPECT_EQ(test_support::Live(), before);
}

}  // namespace
}  // namespace skin_test
