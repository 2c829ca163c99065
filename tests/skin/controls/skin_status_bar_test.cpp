// The status-bar skinner under Wine: the updater's bar (no panels, one
// simple text) by pixels against the skin's own "StatusBarEdges" image, the
// text of every row shown without the bar's own painting, panels by their
// bevels, the last panel reaching the right edge, the size grip, and
// nothing left behind.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "skin/controls/painting_helpers.h"
#include "skin/controls/skin_status_bar.h"
#include "skin/data/skin_draw.h"
#include "skin/window/skin_surface.h"
#include "tests/skin/controls/panel_test_fixture.h"
#include "tests/skin/data/letter_pictures.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/support/win/lambda_hooks.h"

namespace skin_test {
namespace {

using skin::win::TSkinStatusBar;
using skin::win::fixtures::SamePixels;

class StatusBarSkinnerTest : public PanelSkinnerTest {
 protected:
  // The updater's status bar: bottom-aligned, 19 pixels, the active-border
  // colour of its own, no panels.
  fw::TStatusBar* UpdaterBar(const std::string& extra = "") {
    fw::TForm* form = CreateForm(R"(  object stbStatus: TStatusBar
    Left = 0
    Top = 281
    Width = 420
    Height = 19
    Align = alBottom
    Color = clActiveBorder
)" + extra + "  end\n");
    return dynamic_cast<fw::TStatusBar*>(form->FindComponent("stbStatus"));
  }
  TSkinStatusBar* Skin(fw::TStatusBar* bar) {
    auto* skinner = new TSkinStatusBar(bar);
    skinner->Attach(&Controller(), &Data(), false, nullptr);
    return skinner;
  }
  // Frame `frame` of "StatusBarEdges" at w x h, as the bar shows it.
  skin::TBitmap Edges(int frame, int w, int h) {
    const skin::TDataSkinObject& e = *Elements().StatusBarEdges;
    return skin::BuildSkinImage({0, 0, w, h}, e.Bitmap, e.Margins, false, e.Tile != 0, 3, frame);
  }
};

// The columns and rows of `shot` that differ from `background`.
RECT InkBox(const skin::TPixels& shot, const skin::TPixels& background) {
  RECT box{shot.Width(), shot.Height(), -1, -1};
  for (int y = 0; y < shot.Height(); ++y) {
    for (int x = 0; x < shot.Width(); ++x) {
      if (shot.Pixel(x, y) == background.Pixel(x, y)) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  }
  return box;
}

TEST_F(StatusBarSkinnerTest, TheUpdatersSimpleTextSitsLeftTwoPixelsInOverFrameOne) {
  fw::TStatusBar* bar = UpdaterBar();
  TSkinStatusBar* skinner = Skin(bar);
  const int w = bar->Width();
  const int h = bar->Height();
  ASSERT_EQ(h, 19);

  // No text yet: the lowered frame over the whole bar, nothing else.
  const skin::TBitmap frame = Edges(1, w, h);
  EXPECT_TRUE(SamePixels(Shot(bar->Handle()), 0, 0, frame, "status bar without text"));

  const std::wstring text = L"Processando Registro 7 de 250";
  bar->SetSimpleText(text);
  const skin::TBitmap shot = Shot(bar->Handle());

  // The expected picture: the text in the bar's font (no style) and the
  // element's text colour, 2 pixels in, one pixel above the vertical centre.
  fw::TBitmap expected;
  skin::win::CopyPixels(frame, expected);
  HDC dc = expected.Canvas()->Handle();
  fw::TFont font;
  font.Assign(*bar->Font());
  font.SetStyle(0);
  const fw::TSelectObject selected(dc, font.Handle());
  RECT measured{2, 0, w - 2, h};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const int text_h = measured.bottom - measured.top;
  const int top = (h - text_h) / 2 - 1;
  EXPECT_EQ(top, text_h == 13 ? 2 : top) << "MS Sans Serif 8 is 13 pixels high";
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, fw::ColorToRGB(Elements().StatusBarEdges->NormalColour2));
  RECT at{2, top, w - 2, top + text_h};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &at, DT_EXPANDTABS);
  EXPECT_TRUE(SamePixels(shot, 0, 0, skin::win::ViewOf(expected), "updater simple text"));

  // Where the ink is: from the narrowed left edge on, around the centre
  // line one pixel above the middle.
  const RECT ink = InkBox(shot, frame);
  EXPECT_GE(ink.left, 2);
  EXPECT_LE(ink.left, 3);
  EXPECT_GE(ink.top, top);
  EXPECT_LE(ink.bottom, top + text_h);
  skinner->Free();
}

TEST_F(StatusBarSkinnerTest, EachRowsTextShowsWithoutTheBarsOwnPainting) {
  fw::TStatusBar* bar = UpdaterBar();
  // A spy below the skinner sees what reaches the bar's own handling.
  int own_paints = 0;
  test_support::TLambdaHook spy(*bar, [&](fw::TMessage& m, const fw::TWindowProcHook& h) {
    if (m.Msg == WM_PAINT || m.Msg == WM_ERASEBKGND) ++own_paints;
    h.CallPrevious(m);
  });
  TSkinStatusBar* skinner = Skin(bar);
  Settle(bar->Handle());
  own_paints = 0;
  for (int row = 1; row <= 5; ++row) {
    bar->SetSimpleText(L"Processando Registro " + std::to_wstring(row) + L" de 5");
    Settle(bar->Handle());
  }
  EXPECT_EQ(own_paints, 0);
  const skin::TBitmap shot = Shot(bar->Handle());
  // The last row's text, and the skin's frame around it.
  const skin::TBitmap frame = Edges(1, bar->Width(), bar->Height());
  EXPECT_LT(InkBox(shot, frame).right, bar->Width() / 2);
  EXPECT_EQ(shot.Pixel(bar->Width() - 4, bar->Height() / 2),
            frame.Pixel(bar->Width() - 4, bar->Height() / 2));

  // Unskinned, the bar paints itself again.
  skinner->Free();
  InvalidateRect(bar->Handle(), nullptr, TRUE);
  Settle(bar->Handle());
  EXPECT_GT(own_paints, 0);
}

// Flat frames: red lowered, green raised, blue without bevel.
void UseFlatEdges(skin::TSkinData& elements) {
  skin::TDataSkinObject& e = *elements.StatusBarEdges;
  e.Bitmap = skin::Picture({"RRRRGGGGBBBB", "RRRRGGGGBBBB", "RRRRGGGGBBBB", "RRRRGGGGBBBB"});
  e.Margins = {0, 0, 0, 0};
}

TEST_F(StatusBarSkinnerTest, PanelsShowTheirBevelsFramesAndTheLastReachesTheEdge) {
  fw::TStatusBar* bar = UpdaterBar();
  const struct {
    int width;
    fw::TStatusPanelBevel bevel;
    const wchar_t* text;
  } panels[] = {{100, fw::pbLowered, L"Um"}, {120, fw::pbRaised, L""}, {60, fw::pbNone, L"Três"}};
  for (const auto& p : panels) {
    fw::TStatusPanel* panel = bar->Panels()->Add();
    panel->SetWidth(p.width);
    panel->SetBevel(p.bevel);
    panel->SetText(p.text);
  }
  bar->UpdatePanels();
  // Parts that end before the bar does: the last one still reaches it.
  int edges[] = {100, 220, 280};
  SendMessageW(bar->Handle(), SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  UseFlatEdges(Elements());
  TSkinStatusBar* skinner = Skin(bar);
  const skin::TBitmap shot = Shot(bar->Handle());

  RECT part[3];
  for (int i = 0; i < 3; ++i)
    SendMessageW(bar->Handle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&part[i]));
  const int y = part[0].bottom - 1;  // below any text
  EXPECT_EQ(shot.Pixel(part[0].left + 1, y), skin::kR) << "lowered: frame 1";
  EXPECT_EQ(shot.Pixel(part[1].left + 1, y), skin::kG) << "raised, empty text: frame 2";
  EXPECT_EQ(shot.Pixel(part[2].left + 1, y), skin::kB) << "no bevel: frame 3";
  EXPECT_EQ(part[2].right, 280);
  EXPECT_EQ(shot.Pixel(bar->Width() - 1, y), skin::kB) << "the last panel reaches the right edge";
  // An empty text leaves its panel plain; the others show their text.
  const auto inked = [&](const RECT& r) {
    for (int yy = r.top; yy < r.bottom; ++yy) {
      for (int xx = r.left + 2; xx < r.right - 2; ++xx) {
        const uint32_t c = shot.Pixel(xx, yy);
        if (c != skin::kR && c != skin::kG && c != skin::kB) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(inked(part[0]));
  EXPECT_FALSE(inked(part[1]));
  EXPECT_TRUE(inked(part[2]));
  skinner->Free();
}

TEST_F(StatusBarSkinnerTest, RightToLeftPanelsSwapTheirAlignmentAndDrawPanelGoesOnTop) {
  fw::TStatusBar* bar = UpdaterBar();
  const struct {
    fw::TAlignment alignment;
    fw::TBiDiMode bidi;
    bool at_right;
  } panels[] = {{fw::taLeftJustify, fw::bdRightToLeft, true},
                {fw::taRightJustify, fw::bdRightToLeft, false},
                {fw::taLeftJustify, fw::bdRightToLeftNoAlign, false},
                {fw::taRightJustify, fw::bdLeftToRight, true}};
  for (const auto& p : panels) {
    fw::TStatusPanel* panel = bar->Panels()->Add();
    panel->SetWidth(100);
    panel->SetAlignment(p.alignment);
    panel->SetBiDiMode(p.bidi);
    panel->SetText(L"Oi");
  }
  UseFlatEdges(Elements());
  // The program paints a mark in every panel it is asked to draw.
  std::vector<RECT> drawn;
  bar->OnDrawPanel = [&](fw::TObject* sender, fw::TStatusPanel* panel, const RECT& r) {
    EXPECT_EQ(sender, bar);
    EXPECT_EQ(panel->Index(), static_cast<int>(drawn.size()));
    drawn.push_back(r);
    const fw::TGdiHandle<HBRUSH> yellow(CreateSolidBrush(skin::kY));
    const RECT mark{r.left, r.top, r.left + 3, r.top + 3};
    FillRect(bar->Canvas()->Handle(), &mark, yellow.get());
  };
  TSkinStatusBar* skinner = Skin(bar);
  drawn.clear();
  const skin::TBitmap shot = Shot(bar->Handle());
  ASSERT_EQ(drawn.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    RECT part{};
    SendMessageW(bar->Handle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&part));
    EXPECT_EQ(drawn[i].left, part.left + 1);
    EXPECT_EQ(drawn[i].top, part.top + 1);
    EXPECT_EQ(drawn[i].right, part.right - 1);
    EXPECT_EQ(drawn[i].bottom, part.bottom - 1);
    EXPECT_EQ(shot.Pixel(part.left + 1, part.top + 1), skin::kY) << "the handler draws on top";
    // The text's side: the ink nearer the panel's right or left edge (the
    // last panel reaches the bar's).
    const int panel_right = i == 3 ? bar->Width() : part.right;
    int first = -1;
    int last = -1;
    for (int x = part.left + 4; x < panel_right; ++x) {
      for (int y = part.top + 4; y < part.bottom - 1; ++y) {
        if (shot.Pixel(x, y) != skin::kR) {
          if (first < 0) first = x;
          last = x;
        }
      }
    }
    ASSERT_GE(first, 0);
    if (panels[i].at_right) {
      EXPECT_GE(last, panel_right - 6);
    } else {
      EXPECT_LE(first, part.left + 4);
    }
  }
  skinner->Free();
}

TEST_F(StatusBarSkinnerTest, TheSizeGripIsFrameFiveOfTheExtraImages) {
  fw::TStatusBar* bar = UpdaterBar("    SizeGrip = True\n");
  ASSERT_NE(GetWindowLongW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP, 0);
  TSkinStatusBar* skinner = Skin(bar);
  const skin::TDataSkinObject& extra = *Elements().ExtraImages;
  const int fw5 = extra.Bitmap.Width() / extra.FrameCount;
  const skin::TBitmap grip = [&] {
    skin::TBitmap g(fw5, extra.Bitmap.Height());
    skin::StretchCopy(g, {0, 0, g.Width(), g.Height()}, extra.Bitmap,
                      skin::SkinFrameRect(extra.Bitmap.Width(), extra.Bitmap.Height(), false,
                                          extra.FrameCount, 5));
    return g;
  }();
  const skin::TBitmap shot = Shot(bar->Handle());
  EXPECT_TRUE(SamePixels(shot, bar->Width() - 1 - grip.Width(), bar->Height() - 1 - grip.Height(),
                         grip, "size grip"));
  skinner->Free();
}

TEST_F(StatusBarSkinnerTest, AttachAndFreeLeaveNothingBehind) {
  fw::TStatusBar* bar = UpdaterBar();
  const test_support::TLiveCounts before = test_support::Live();
  for (int i = 0; i < 3; ++i) {
    TSkinStatusBar* skinner = Skin(bar);
    bar->SetSimpleText(L"Linha " + std::to_wstring(i));
    Settle(bar->Handle());
    skinner->Detach();
    skinner->Free();
  }
  EXPECT_EQ(test_support::Live(), before);
  EXPECT_TRUE(Controller().Skinners().empty());
}

}  // namespace
}  // namespace skin_test
