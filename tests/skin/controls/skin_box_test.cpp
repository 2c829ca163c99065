// The container skinners under Wine: panels take the skin's colour and give
// their own back exactly, group boxes get the skin's rounded line, controls
// that take custom check glyphs get the skin's, dialog sizers become plain
// areas; nothing is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/panels.h"
#include "skin/controls/box_rules.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_sizer.h"
#include "tests/skin/controls/panel_test_fixture.h"

namespace skin_test {
namespace {

using skin::win::TSkinBox;
using skin::win::TSkinGroupBox;
using skin::win::TSkinObjImage;
using skin::win::TSkinSizer;

// The updater's three panels, and one that follows its parent's colour.
constexpr const char* kPanels = R"(  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 420
    Height = 76
    Align = alTop
    Color = clBtnHighlight
  end
  object Panel2: TPanel
    Left = 0
    Top = 76
    Width = 420
    Height = 100
    Align = alTop
    BevelOuter = bvNone
    Color = clBtnHighlight
  end
  object Panel3: TPanel
    Left = 0
    Top = 250
    Width = 420
    Height = 50
    Align = alBottom
    BevelOuter = bvNone
    Color = clBtnHighlight
  end
  object Panel4: TPanel
    Left = 10
    Top = 180
    Width = 100
    Height = 40
    ParentColor = True
  end
)";

using PanelBoxTest = PanelSkinnerTest;

TEST_F(PanelBoxTest, PanelsTakeTheSkinColourAndGiveTheirOwnBackExactly) {
  fw::TForm* form = CreateForm(kPanels);
  form->SetColor(fw::TColor{0x00E1FFFF});
  Settle(form->Handle());
  struct Seen {
    fw::TPanel* panel;
    fw::TControlColour before;
    TSkinBox* skinner;
  };
  std::vector<Seen> panels;
  for (const char* name : {"Panel1", "Panel2", "Panel3", "Panel4"}) {
    auto* panel = dynamic_cast<fw::TPanel*>(form->FindComponent(name));
    panels.push_back({panel, panel->SaveColour(), nullptr});
  }
  ASSERT_TRUE(panels[3].before.ParentColor);
  const test_support::TLiveCounts before = test_support::Live();
  for (Seen& s : panels) {
    s.skinner = new TSkinBox(s.panel);
    s.skinner->Attach(&Controller(), &Data(), true, nullptr);
    s.skinner->Attach(&Controller(), &Data(), true, nullptr);  // a second attach changes nothing
    EXPECT_EQ(fw::ColorToRGB(s.panel->Color()), Face()) << s.panel->Name();
    EXPECT_FALSE(s.panel->ParentColor()) << s.panel->Name();
    // Skinned by colour alone: nothing is hooked.
    EXPECT_FALSE(s.skinner->HookedByWindowProc());
    EXPECT_FALSE(s.skinner->HookedByHandle());
  }
  EXPECT_EQ(Controller().Skinners().size(), 4u);
  const skin::TBitmap shot = ClientShot(panels[1].panel->Handle());
  EXPECT_EQ(shot.Pixel(shot.Width() / 2, shot.Height() / 2), Face());

  for (Seen& s : panels) {
    s.skinner->Detach();
    EXPECT_EQ(s.skinner->Status, skin::win::ssnDetached);
    EXPECT_EQ(s.panel->Color(), s.before.Color) << s.panel->Name();
    EXPECT_EQ(s.panel->ParentColor(), s.before.ParentColor) << s.panel->Name();
    s.skinner->Detach();  // again: the colour stays the panel's own
    EXPECT_EQ(s.panel->Color(), s.before.Color) << s.panel->Name();
    s.skinner->Free();
  }
  EXPECT_EQ(fw::ColorToRGB(panels[3].panel->Color()), fw::ColorToRGB(fw::TColor{0x00E1FFFF}));
  Settle(form->Handle());
  EXPECT_EQ(test_support::Live(), before);
}

TEST_F(PanelBoxTest, GroupBoxGetsARoundedShadowLineThroughItsCaption) {
  fw::TForm* form = CreateForm(R"(  object Group1: TGroupBox
    Left = 10
    Top = 10
    Width = 185
    Height = 105
    Caption = 'Opções'
  end
)");
  auto* group = dynamic_cast<fw::TGroupBox*>(form->FindComponent("Group1"));
  const fw::TControlColour own = group->SaveColour();
  auto* skinner = new TSkinGroupBox(group);
  skinner->Attach(&Controller(), &Data(), true, nullptr);
  const skin::TBitmap shot = Shot(group->Handle());

  SIZE zero{0, 0};
  {
    HDC dc = GetDC(group->Handle());
    const fw::TSelectObject font(dc, group->Font()->Handle());
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    ReleaseDC(group->Handle(), dc);
  }
  const skin::TGroupBoxLines g = skin::GroupBoxLines({0, 0, 185, 105}, zero.cy);
  const COLORREF shadow = fw::ColorToRGB(Elements().ButtonShadowColour);
  const int mid_y = (g.Line.Top + g.Line.Bottom) / 2;
  EXPECT_EQ(shot.Pixel(0, mid_y), Face()) << "the box's own frame is erased";
  EXPECT_EQ(shot.Pixel(1, mid_y), shadow) << "left line";
  EXPECT_EQ(shot.Pixel(183, mid_y), shadow) << "right line";
  EXPECT_EQ(shot.Pixel(150, g.Line.Top), shadow) << "top line, right of the caption";
  EXPECT_EQ(shot.Pixel(92, 103), shadow) << "bottom line";
  EXPECT_EQ(shot.Pixel(92, 104), Face());
  EXPECT_EQ(shot.Pixel(1, g.Line.Top), Face()) << "the rounded corner leaves the background";
  // The caption interrupts the line on the skin's background.
  int ink = 0;
  for (int x = 9; x < 40; ++x) {
    if (shot.Pixel(x, g.Line.Top) != shadow) ++ink;
  }
  EXPECT_EQ(ink, 31);
  skinner->Detach();
  EXPECT_EQ(group->Color(), own.Color);
  EXPECT_EQ(group->ParentColor(), own.ParentColor);
  skinner->Free();
}

// A control that takes custom check glyphs through published properties
// (as check boxes of other component libraries do).
class TGlyphCheck : public fw::TCustomControl {
  FW_CLASS_INFO(TGlyphCheck)

 public:
  using fw::TCustomControl::TCustomControl;
  fw::TBitmap* CustomGlyphs() { return &glyphs_; }
  int32_t TransparentColor() const { return transparent_; }
  void SetTransparentColor(int32_t v) { transparent_ = v; }
  bool UseCustomGlyphs() const { return use_; }
  void SetUseCustomGlyphs(bool v) {
    use_ = v;
    Sets.push_back(v);
  }
  std::vector<bool> Sets;

 private:
  fw::TBitmap glyphs_;
  int32_t transparent_ = 0;
  bool use_ = false;
};

const fw::TClassInfo& TGlyphCheck::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TGlyphCheck>("TGlyphCheck", fw::TCustomControl::StaticClassInfo())
          .Obj("CustomGlyphs", &TGlyphCheck::CustomGlyphs)
          .Int("TransparentColor", &TGlyphCheck::TransparentColor,
               &TGlyphCheck::SetTransparentColor)
          .Bool("UseCustomGlyphs", &TGlyphCheck::UseCustomGlyphs, &TGlyphCheck::SetUseCustomGlyphs)
          .Build();
  return info;
}

TEST_F(PanelBoxTest, CustomCheckGlyphsComeFromTheSkinsCheckImage) {
  fw::TForm* form = CreateForm("");
  auto* check = new TGlyphCheck(form);
  check->SetParent(form);
  check->SetBounds(10, 10, 120, 20);
  auto* skinner = new TSkinObjImage(check);
  skinner->Kind = 1;
  skinner->Attach(&Controller(), &Data(), true, nullptr);

  const skin::TDataSkinButton& buttons = *Elements().Buttons;
  const int f = buttons.CheckFrameCount;
  const int w = buttons.CheckBitmap.Width() / f;
  const int h = buttons.CheckBitmap.Height();
  fw::TBitmap* glyphs = check->CustomGlyphs();
  ASSERT_EQ(glyphs->Width(), 9 * w);
  ASSERT_EQ(glyphs->Height(), h);
  // Cell 7 holds the checked, disabled image (frame 3 of the skin's).
  const uint32_t dib = glyphs->ScanLine(h / 2)[7 * w + w / 2];
  const uint32_t source = buttons.CheckBitmap.Pixel(3 * w + w / 2, h / 2);
  EXPECT_EQ(dib & 0xFFFFFF, ((source & 0xFF) << 16) | (source & 0xFF00) | ((source >> 16) & 0xFF));
  EXPECT_EQ(check->TransparentColor(), 0xFF00FF);
  EXPECT_EQ(check->Sets, (std::vector<bool>{false, true}));  // the control reloads its glyphs

  skinner->SkinChanged();
  EXPECT_EQ(check->Sets, (std::vector<bool>{false, true, false, true}));
  skinner->Detach();
  EXPECT_FALSE(check->UseCustomGlyphs());
  skinner->Free();
}

TEST_F(PanelBoxTest, ADialogsSizeGripBecomesAPlainArea) {
  fw::TForm* form = CreateForm("");
  const test_support::TLiveCounts before = test_support::Live();
  HWND grip = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 300, 200,
                              17, 17, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(grip, nullptr);
  fw::TOwned<TSkinSizer> skinner(new TSkinSizer(nullptr));
  skinner->AttachHandle(grip, &Data(), &Controller(), nullptr);
  const skin::TBitmap shot = Shot(grip);
  int other = 0;
  for (int y = 0; y < shot.Height(); ++y) {
    for (int x = 0; x < shot.Width(); ++x)
      other += shot.Pixel(x, y) != Face() ? 1 : 0;
  }
  EXPECT_EQ(other, 0);
  skinner.reset();
  DestroyWindow(grip);
  EXPECT_EQ(test_support::Live(), before);
}

}  // namespace
}  // namespace skin_test
