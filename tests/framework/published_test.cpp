// What painters read by name: the glyph button's image list, indexes and
// alignment; the status bar's owner-drawn panels, their reading order and
// its size grip; which controls are containers.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/dc.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/panels.h"
#include "framework/stdctrls.h"
#include "framework/tabs.h"
#include "framework/toolbar.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

class PublishedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    form_ = new TForm(app_.get());
    app_->SetMainForm(form_);
    form_->SetClientWidth(300);
    form_->SetClientHeight(120);
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
};

TEST_F(PublishedTest, AGlyphButtonPublishesItsImageListIndexesAndAlignment) {
  auto* button = new TBitBtn(form_);
  button->SetParent(form_);
  // Defaults, as a painter reads them.
  EXPECT_EQ(GetIntProp(button, "ImageIndex"), -1);
  EXPECT_EQ(GetIntProp(button, "DisabledIndex"), -1);
  EXPECT_EQ(GetEnumName(button, "Alignment"), "taCenter");
  EXPECT_TRUE(IsPublishedProp(button, "Images"));
  EXPECT_EQ(GetObjectProp(button, "Images"), nullptr);
  // Written by name.
  EXPECT_TRUE(SetPropByName(button, "ImageIndex", "2"));
  EXPECT_TRUE(SetPropByName(button, "DisabledIndex", "3"));
  EXPECT_TRUE(SetPropByName(button, "Alignment", "taLeftJustify"));
  EXPECT_EQ(button->ImageIndex(), 2);
  EXPECT_EQ(button->DisabledIndex(), 3);
  EXPECT_EQ(button->Alignment(), taLeftJustify);
  // The image list is an object property, cleared when the list goes.
  auto* images = new TImageList(form_);
  button->SetImages(images);
  EXPECT_EQ(GetObjectProp(button, "Images", &TImageList::StaticClassInfo()), images);
  images->Free();
  EXPECT_EQ(GetObjectProp(button, "Images"), nullptr);
}

TEST_F(PublishedTest, AGlyphButtonWithoutGlyphDrawsItsImageFromTheList) {
  auto* images = new TImageList(form_);
  TBitmap red;
  red.SetSize(16, 16);
  for (int i = 0; i < 16 * 16; ++i)
    red.Pixels()[i] = 0xFF0000;
  red.Pixels()[15 * 16] = 0x00FF00;  // the bottom-left pixel: the mask colour
  images->AddMasked(red, 0x00FF00);
  auto* button = new TBitBtn(form_);
  button->SetParent(form_);
  button->SetBounds(10, 10, 100, 40);
  button->SetImages(images);
  button->SetImageIndex(0);
  form_->Show();
  test_support::PumpPending();
  UpdateWindow(button->Handle());
  TBitmap shot;
  shot.SetSize(100, 40);
  TClientDC dc(button->Handle());
  BitBlt(shot.Canvas()->Handle(), 0, 0, 100, 40, dc.Get(), 0, 0, SRCCOPY);
  GdiFlush();
  // No caption: the image sits in the middle.
  EXPECT_EQ(shot.Pixels()[20 * 100 + 50] & 0xFFFFFFu, 0xFF0000u);
}

TEST_F(PublishedTest, OwnerDrawnStatusPanelsRaiseOnDrawPanel) {
  auto* bar = new TStatusBar(form_);
  bar->SetParent(form_);
  bar->SetAlign(alBottom);
  TStatusPanel* text = bar->Panels()->Add();
  text->SetText(L"linha 1");
  text->SetWidth(100);
  TStatusPanel* drawn = bar->Panels()->Add();
  drawn->SetStyle(psOwnerDraw);
  EXPECT_TRUE(IsPublishedProp(bar, "OnDrawPanel"));
  struct TCall {
    TStatusPanel* panel;
    RECT rect;
    bool canvas;
  };
  std::vector<TCall> calls;
  bar->OnDrawPanel = [&](TObject* sender, TStatusPanel* panel, const RECT& rect) {
    auto* b = static_cast<TStatusBar*>(sender);
    calls.push_back({panel, rect, b->Canvas()->Handle() != nullptr});
    b->Canvas()->Brush()->SetColor(0x0000FF);
    b->Canvas()->FillRect(rect);
  };
  form_->Show();
  InvalidateRect(bar->Handle(), nullptr, TRUE);
  UpdateWindow(bar->Handle());
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().panel, drawn);
  EXPECT_TRUE(calls.back().canvas);
  EXPECT_GE(calls.back().rect.left, 100);
  EXPECT_EQ(bar->Canvas()->Handle(), nullptr);
  for (const TCall& c : calls)
    EXPECT_EQ(c.panel, drawn);  // never for the text panel
  // A painter that draws the bar itself calls it too.
  calls.clear();
  TClientDC dc(bar->Handle());
  bar->DrawPanel(drawn, RECT{1, 2, 3, 4}, dc.Get());
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].rect.right, 3);
  EXPECT_TRUE(calls[0].canvas);
}

TEST_F(PublishedTest, StatusPanelsReadRightToLeftAndTheSizeGripIsSetByName) {
  auto* bar = new TStatusBar(form_);
  bar->SetParent(form_);
  bar->SetAlign(alBottom);
  TStatusPanel* panel = bar->Panels()->Add();
  panel->SetText(L"abc");
  bar->Panels()->Add();
  form_->Show();
  EXPECT_EQ(GetEnumName(panel, "BiDiMode"), "bdLeftToRight");
  auto shown = [&] {
    wchar_t buf[32] = {};
    LRESULT r = SendMessageW(bar->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buf));
    return std::make_pair(std::wstring(buf), (HIWORD(r) & SBT_RTLREADING) != 0);
  };
  EXPECT_EQ(shown(), std::make_pair(std::wstring(L"abc"), false));
  struct TCase {
    const char* mode;
    TAlignment alignment;
    const wchar_t* text;
  } cases[] = {
      {"bdRightToLeft", taLeftJustify, L"\t\tabc"},  // left mirrored to the right
      {"bdRightToLeft", taRightJustify, L"abc"},
      {"bdRightToLeft", taCenter, L"\tabc"},
      {"bdRightToLeftNoAlign", taLeftJustify, L"abc"},
      {"bdRightToLeftReadingOnly", taRightJustify, L"\t\tabc"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(SetPropByName(panel, "BiDiMode", c.mode));
    panel->SetAlignment(c.alignment);
    EXPECT_EQ(GetEnumName(panel, "BiDiMode"), c.mode);
    EXPECT_EQ(shown(), std::make_pair(std::wstring(c.text), true)) << c.mode;
  }
  // The size grip, by name, in the window's style.
  for (const char* value : {"True", "False"}) {
    EXPECT_TRUE(SetPropByName(bar, "SizeGrip", value));
    EXPECT_EQ(GetEnumName(bar, "SizeGrip"), value);
    const bool grip = (GetWindowLongW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP) != 0;
    EXPECT_EQ(grip, std::string(value) == "True");
  }
}

TEST_F(PublishedTest, ControlsMadeToHoldOthersAreContainers) {
  struct TCase {
    TWinControl* control;
    bool container;
  } cases[] = {
      {new TPanel(form_), true},          {new TGroupBox(form_), true},
      {new TRadioGroup(form_), true},     {new TScrollBox(form_), true},
      {new TTabSheet(form_), true},       {new TPageControl(form_), true},
      {new TTabControl(form_), true},     {new TToolBar(form_), true},
      {new TForm(app_.get()), false},     {new TEdit(form_), false},
      {new TButton(form_), false},        {new TStatusBar(form_), false},
      {new TCustomControl(form_), false}, {new TListBox(form_), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.control->IsContainer(), c.container) << c.control->ClassName();
}

}  // namespace
}  // namespace fw
