// Control discovery and the button, check-box and radio-button skinners on
// skinned windows under Wine: which skinner each control gets (tags, the
// OnSkinControl handler, Skin3rd, the built-in table, raw dialog children),
// the frames the buttons and boxes show by pixels against the skin's own
// images, clicks with real input, a window created again, and nothing left
// behind when skinning goes off.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/panels.h"
#include "framework/stdctrls.h"
#include "skin/controls/button_rules.h"
#include "skin/controls/check_rules.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_box.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_package_writer.h"
#include "skin/data/skin_reader.h"
#include "skin/window/skin_surface.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/skin/window/skinned_window_fixture.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/message_sequence.h"
#include "tests/support/win/pump.h"

namespace skin_test {
namespace {

using skin::win::TSkinControl;
using skin::win::TWinSkinForm;
using skin::win::fixtures::CaptureWindow;
using skin::win::fixtures::SamePixels;
using test_support::PumpPending;
using test_support::PumpUntil;

constexpr const char* kControls = R"(
  object Button1: TButton
    Left = 8
    Top = 8
    Width = 100
    Height = 25
    Caption = 'Botão'
  end
  object Default1: TButton
    Left = 116
    Top = 8
    Width = 100
    Height = 25
    Caption = 'Padrão'
    Default = True
  end
  object BitBtn1: TBitBtn
    Left = 224
    Top = 8
    Width = 142
    Height = 30
    Caption = 'Efetuar'
  end
  object Check1: TCheckBox
    Left = 8
    Top = 48
    Width = 120
    Height = 17
    Caption = 'Marcar'
  end
  object Radio1: TRadioButton
    Left = 8
    Top = 72
    Width = 120
    Height = 17
    Caption = 'Opção'
  end
  object Edit1: TEdit
    Left = 140
    Top = 48
    Width = 120
    Height = 21
  end
  object Edit55: TEdit
    Left = 140
    Top = 76
    Width = 120
    Height = 21
    Tag = 55
  end
  object Combo1: TComboBox
    Left = 270
    Top = 48
    Width = 120
    Height = 21
  end
  object Panel1: TPanel
    Left = 8
    Top = 110
    Width = 200
    Height = 60
  end
  object Status1: TStatusBar
    SimpleText = 'Pronto'
  end
  object Gauge1: TGauge
    Left = 220
    Top = 110
    Width = 150
    Height = 17
  end
  object Tag99: TButton
    Left = 400
    Top = 8
    Width = 60
    Height = 25
    Tag = 99
  end
  object Tag199: TButton
    Left = 400
    Top = 40
    Width = 60
    Height = 25
    Tag = 199
  end
  object Tag98: TButton
    Left = 400
    Top = 72
    Width = 60
    Height = 25
    Tag = 98
  end
)";

class SkinnedControlsTest : public SkinnedWindowTest {
 protected:
  // A skinned form holding kControls (plus `extra`); its controller.
  TWinSkinForm* SkinnedForm(const std::string& extra = "") {
    form_ = CreateForm(skin::win::fixtures::FormDescription(kControls + extra));
    return Skin(form_->Handle());
  }
  template <class T>
  T* Find(const char* name) {
    return dynamic_cast<T*>(form_->FindComponent(name));
  }
  // The skinner serving a control (by control, or by its window).
  static TSkinControl* SkinnerOf(const TWinSkinForm& c, fw::TControl* control) {
    auto* w = dynamic_cast<fw::TWinControl*>(control);
    for (TSkinControl* s : c.Skinners) {
      if (s->Control == control || s->GraphicControl == control) return s;
      if (w != nullptr && w->HandleAllocated() && s->Handle == w->Handle()) return s;
    }
    return nullptr;
  }
  static std::string SkinnerClass(const TWinSkinForm& c, fw::TControl* control) {
    TSkinControl* s = SkinnerOf(c, control);
    return s != nullptr ? s->ClassName() : "none";
  }

  fw::TForm* form_ = nullptr;
};

// --- Discovery ----------------------------------------------------------------------

TEST_F(SkinnedControlsTest, EveryControlGetsTheSkinnerOfItsRow) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  const struct {
    const char* control;
    const char* skinner;
  } expected[] = {
      {"Button1", "TSkinButton"},
      {"Default1", "TSkinButton"},
      {"BitBtn1", "TSkinBitButton"},
      {"Check1", "TSkinCheckBox"},
      {"Radio1", "TSkinRadioButton"},
      {"Edit1", "TSkinEdit"},
      {"Edit55", "TSkinScrollbar"},  // Tag 55 counts as having scroll bars
      {"Combo1", "TSkinComBox"},
      {"Panel1", "TSkinBox"},
      {"Status1", "TSkinStatusBar"},
      {"Gauge1", "TSkinProgress"},  // a graphic control, served through its WindowProc
      {"Tag99", "none"},
      {"Tag199", "none"},
      {"Tag98", "TSkinButton"},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>(e.control)), e.skinner) << e.control;
  }
  // A skinner of a framework control is owned by it, and listed once.
  TSkinControl* button = SkinnerOf(*c, Find<fw::TControl>("Button1"));
  EXPECT_EQ(button->Owner(), Find<fw::TControl>("Button1"));
  EXPECT_EQ(std::count(c->Skinners.begin(), c->Skinners.end(), button), 1);
  // The status bar's own size grip is switched off before it is skinned.
  EXPECT_FALSE(Find<fw::TStatusBar>("Status1")->SizeGrip());
}

TEST_F(SkinnedControlsTest, Skin3rdAndSkinControlsDecideBeforeTheTable) {
  // nil keeps a class unskinned though a row would match; a mapped kind
  // whose member is off attaches nothing, and the table is not consulted.
  Data().Skin3rd()->Add(L"TEdit=nil");
  Data().Skin3rd()->Add(L"TCheckBox=combobox");
  Data().SetSkinControls(Data().SkinControls() & ~skin::SkinControlBit(skin::xcCombo) &
                         ~skin::SkinControlBit(skin::xcBitBtn));
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>("Edit1")), "none");
  EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>("Check1")), "none");
  EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>("Combo1")), "none");
  // A glyph button with xcBitBtn off never falls through to the push-button row.
  EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>("BitBtn1")), "none");
  EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>("Button1")), "TSkinButton");
}

TEST_F(SkinnedControlsTest, AnOnSkinControlHandlerDecidesForEveryControl) {
  std::vector<std::wstring> asked;
  Data().OnSkinControl = [&](fw::TComponent*, skin::win::TSkinData*, fw::TControl*,
                             fw::TControl* control, const std::wstring& cls,
                             fw::TComponent*& skinned) {
    asked.push_back(cls);
    // Only the default button gets a skinner: a glyph-button skinner.
    if (control->Name() == "Default1") skinned = new skin::win::TSkinBitButton(control);
  };
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>("Default1")), "TSkinBitButton");
  EXPECT_EQ(SkinnerClass(*c, Find<fw::TControl>("Button1")), "none");
  EXPECT_NE(std::find(asked.begin(), asked.end(), L"TBUTTON"), asked.end());
  // The exemption tag is tested before the handler is asked.
  EXPECT_EQ(std::count(asked.begin(), asked.end(), L"TBUTTON"), 3);  // Button1, Default1, Tag98
}

// A dialog box made from a template in memory: its child windows are
// skinned by class and style.
HWND RawDialog(HWND owner) {
  struct alignas(4) TTemplate {
    std::vector<WORD> words;
    void Align() {
      if (words.size() % 2 != 0) words.push_back(0);
    }
    void Text(const wchar_t* s) {
      for (; *s != 0; ++s)
        words.push_back(static_cast<WORD>(*s));
      words.push_back(0);
    }
    void Add(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
             const wchar_t* text) {
      Align();
      DLGITEMTEMPLATE item{WS_CHILD | WS_VISIBLE | style, 0, x, y, cx, cy, id};
      const auto* p = reinterpret_cast<const WORD*>(&item);
      words.insert(words.end(), p, p + sizeof(item) / 2);
      words.push_back(0xFFFF);
      words.push_back(cls);
      Text(text);
      words.push_back(0);
    }
  } t;
  DLGTEMPLATE head{
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 6, 10, 10, 200, 120};
  const auto* h = reinterpret_cast<const WORD*>(&head);
  t.words.assign(h, h + sizeof(head) / 2);
  t.words.push_back(0);  // no menu
  t.words.push_back(0);  // default class
  t.Text(L"Diálogo");
  t.words.push_back(8);
  t.Text(L"MS Shell Dlg");
  t.Add(BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 90, 50, 14, IDOK, 0x80, L"OK");
  t.Add(BS_AUTOCHECKBOX | WS_TABSTOP, 10, 10, 80, 10, 101, 0x80, L"Marcar");
  t.Add(BS_GROUPBOX, 100, 5, 90, 40, 102, 0x80, L"Grupo");
  t.Add(BS_AUTORADIOBUTTON, 10, 25, 80, 10, 103, 0x80, L"Opção");
  t.Add(ES_AUTOHSCROLL | WS_BORDER, 10, 45, 80, 12, 104, 0x81, L"texto");
  t.Add(CBS_DROPDOWNLIST | WS_VSCROLL, 100, 50, 80, 60, 105, 0x85, L"");
  return CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.words.data()), owner,
      [](HWND, UINT msg, WPARAM, LPARAM) -> INT_PTR { return msg == WM_INITDIALOG ? TRUE : FALSE; },
      0);
}

TEST_F(SkinnedControlsTest, RawDialogChildrenBySkinnerOfTheirClassAndStyle) {
  HWND dialog = RawDialog(nullptr);
  ASSERT_NE(dialog, nullptr);
  windows_.push_back(dialog);
  ShowWindow(dialog, SW_SHOW);
  TWinSkinForm* c = Skin(dialog);
  ASSERT_NE(c, nullptr);
  auto skinner = [&](int id) {
    TSkinControl* s = c->FindSkinnerByHandle(GetDlgItem(dialog, id));
    return s != nullptr ? s->ClassName() : std::string("none");
  };
  EXPECT_EQ(skinner(IDOK), "TSkinButton");
  EXPECT_EQ(skinner(101), "TSkinCheckBox");
  EXPECT_EQ(skinner(102), "none");  // a group box
  EXPECT_EQ(skinner(103), "TSkinRadioButton");
  EXPECT_EQ(skinner(104), "TSkinEdit");
  EXPECT_EQ(skinner(105), "TSkinComBox");
  // Raw windows' skinners belong to the controller.
  EXPECT_EQ(c->FindSkinnerByHandle(GetDlgItem(dialog, IDOK))->Owner(), c);
}

// --- Buttons by pixels --------------------------------------------------------------

// What a push button of the skin looks like in `frame`, at the button's
// size: the skin's background, then the frame of the "Buttons" image.
skin::TBitmap ExpectedButton(const skin::TSkinData& d, int w, int h, int frame) {
  skin::TBitmap expected(w, h, skin::PixelFormat::k32Bit);
  const uint32_t face = fw::ColorToRGB(d.ButtonFaceColour);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      expected.SetPixel(x, y, face);
  }
  const skin::TDataSkinButton& b = *d.Buttons;
  skin::DrawSkinElement(expected, {0, 0, w, h}, b.Bitmap, false, b.Tile != 0, b.Trans == 1,
                        std::max(b.FrameCount, 1), frame, b.Margins);
  return expected;
}

// The left strip of a button (no text there) compared with the frame.
::testing::AssertionResult ShowsFrame(HWND button, const skin::TSkinData& d, int frame,
                                      const std::string& what) {
  PumpPending();
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const skin::TBitmap shot = CaptureWindow(button);
  const skin::TBitmap expected = ExpectedButton(d, shot.Width(), shot.Height(), frame);
  return SamePixels(shot, 0, 0, Crop(expected, RECT{0, 0, 6, shot.Height()}), what);
}

TEST_F(SkinnedControlsTest, PushButtonStatesShowTheirFrames) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  const skin::TSkinData& d = Data().Data();
  auto* plain = Find<fw::TButton>("Button1");
  auto* def = Find<fw::TButton>("Default1");
  auto* glyph = Find<fw::TBitBtn>("BitBtn1");
  TSkinControl* plain_skinner = SkinnerOf(*c, plain);
  ASSERT_NE(plain_skinner, nullptr);
  auto send = [](TSkinControl* s, UINT msg) {
    fw::TMessage m{msg, 0, 0, 0};
    s->WndProc(m);
  };

  // At rest: the default button shows the default frame, the others normal.
  form_->SetActiveControl(Find<fw::TEdit>("Edit1"));
  EXPECT_TRUE(ShowsFrame(plain->Handle(), d, 1, "plain at rest"));
  EXPECT_TRUE(ShowsFrame(def->Handle(), d, 5, "default at rest"));
  EXPECT_TRUE(ShowsFrame(glyph->Handle(), d, 1, "glyph at rest"));
  // Hot and pressed.
  send(plain_skinner, skin::win::CM_MOUSEENTER);
  EXPECT_TRUE(ShowsFrame(plain->Handle(), d, 4, "plain hot"));
  EXPECT_EQ(c->HotButton, plain_skinner);
  SendMessageW(plain->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(ShowsFrame(plain->Handle(), d, 2, "plain pressed"));
  send(plain_skinner, skin::win::CM_MOUSELEAVE);
  EXPECT_EQ(c->HotButton, nullptr);
  // Focused: a push button with the focus is the one Enter presses and
  // carries BS_DEFPUSHBUTTON, so the default frame wins over the focused
  // one; the default button then shows the normal frame.
  plain->SetFocus();
  EXPECT_TRUE(ShowsFrame(plain->Handle(), d, 5, "plain focused"));
  EXPECT_TRUE(ShowsFrame(def->Handle(), d, 1, "default while another button has the focus"));
  def->SetFocus();
  EXPECT_TRUE(ShowsFrame(def->Handle(), d, 5, "plain default focused"));
  EXPECT_TRUE(ShowsFrame(plain->Handle(), d, 1, "plain after the focus left"));
  // A glyph button that is default and focused shows frame 4.
  glyph->SetDefault(true);
  glyph->SetFocus();
  EXPECT_TRUE(ShowsFrame(glyph->Handle(), d, 4, "glyph default focused"));
  // Disabled.
  plain->SetEnabled(false);
  EXPECT_TRUE(ShowsFrame(plain->Handle(), d, 3, "plain disabled"));
}

TEST_F(SkinnedControlsTest, TheGlyphOfAGlyphButtonSitsWhereTheLayoutPutsIt) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  auto* button = Find<fw::TBitBtn>("BitBtn1");
  // Two 16 x 16 images: the first solid red (its bottom-left pixel, the
  // transparent colour, olive), the second blue.
  fw::TBitmap glyph;
  glyph.SetSize(32, 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x)
      glyph.ScanLine(y)[x] = x < 16 ? 0xFF0000 : 0x0000FF;
  }
  glyph.ScanLine(15)[0] = 0x808000;
  button->Glyph()->Assign(glyph);
  button->SetNumGlyphs(2);
  button->SetMargin(-1);
  button->SetSpacing(-1);
  form_->SetActiveControl(Find<fw::TEdit>("Edit1"));
  PumpPending();

  // The text's width as the skinner measures it, in the button's font.
  HDC dc = GetDC(button->Handle());
  HGDIOBJ old = SelectObject(dc, button->Font()->Handle());
  RECT text{0, 0, button->Width(), button->Height()};
  DrawTextW(dc, L"Efetuar", -1, &text, DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(button->Handle(), dc);
  const skin::TGlyphLayout layout = skin::BitButtonLayout({.ClientW = button->Width(),
                                                           .ClientH = button->Height(),
                                                           .GlyphW = 16,
                                                           .GlyphH = 16,
                                                           .TextW = text.right,
                                                           .TextH = text.bottom,
                                                           .Margin = -1,
                                                           .Spacing = -1});
  RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  skin::TBitmap shot = CaptureWindow(button->Handle());
  EXPECT_EQ(shot.Pixel(layout.GlyphX + 8, layout.GlyphY + 8), 0x0000FFu);  // red, as 0xBBGGRR
  EXPECT_NE(shot.Pixel(layout.GlyphX - 1, layout.GlyphY + 8), 0x0000FFu);
  // The transparent pixel shows the button below.
  EXPECT_NE(shot.Pixel(layout.GlyphX, layout.GlyphY + 15), 0x008080u);
  // Disabled: the first image greyed (a two-image glyph has no disabled image).
  button->SetEnabled(false);
  RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  shot = CaptureWindow(button->Handle());
  EXPECT_EQ(shot.Pixel(layout.GlyphX + 8, layout.GlyphY + 8), 0x555555u);  // (255 + 0 + 0) / 3
}

// --- Clicks with real input ---------------------------------------------------------

void MouseAt(POINT screen, DWORD flags) {
  SetCursorPos(screen.x, screen.y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof(in));
  PumpUntil([] { return false; }, 120);
}

POINT CentreOf(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(SkinnedControlsTest, AClickIsAReleaseInsideAfterAPressInside) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  auto* button = Find<fw::TButton>("Button1");
  int clicks = 0;
  button->OnClick = [&](fw::TObject*) { ++clicks; };
  const POINT inside = CentreOf(button->Handle());
  const POINT outside = CentreOf(Find<fw::TPanel>("Panel1")->Handle());

  MouseAt(inside, MOUSEEVENTF_MOVE);
  MouseAt(inside, MOUSEEVENTF_LEFTDOWN);
  MouseAt(inside, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(clicks, 1);

  // Pressed, moved out, released: no click, and nothing stays pressed.
  MouseAt(inside, MOUSEEVENTF_LEFTDOWN);
  MouseAt(outside, MOUSEEVENTF_MOVE);
  MouseAt(outside, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SkinnerOf(*c, button)->MouseState, 0);
  MouseAt(inside, MOUSEEVENTF_MOVE);
  MouseAt(inside, MOUSEEVENTF_LEFTUP);  // a release alone clicks nothing
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinnedControlsTest, ARawDialogButtonsClickReachesItsParentAsACommand) {
  std::vector<WPARAM> commands;
  static std::vector<WPARAM>* seen = nullptr;
  seen = &commands;
  HWND dialog = RawDialog(nullptr);
  ASSERT_NE(dialog, nullptr);
  windows_.push_back(dialog);
  SetWindowLongPtrW(dialog, DWLP_DLGPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND, UINT msg, WPARAM wp, LPARAM) -> INT_PTR {
                      if (msg == WM_COMMAND) seen->push_back(wp);
                      return msg == WM_COMMAND ? TRUE : FALSE;
                    }));
  ShowWindow(dialog, SW_SHOW);
  TWinSkinForm* c = Skin(dialog);
  ASSERT_NE(c, nullptr);
  const POINT ok = CentreOf(GetDlgItem(dialog, IDOK));
  MouseAt(ok, MOUSEEVENTF_MOVE);
  MouseAt(ok, MOUSEEVENTF_LEFTDOWN);
  MouseAt(ok, MOUSEEVENTF_LEFTUP);
  ASSERT_EQ(std::count(commands.begin(), commands.end(), static_cast<WPARAM>(IDOK)), 1);
  seen = nullptr;
}

// --- Check boxes and radio buttons by pixels ----------------------------------------

// The centre pixel of frame `frame` of a strip of `count` frames.
uint32_t StripCentre(const skin::TBitmap& strip, int count, int frame) {
  const int w = strip.Width() / count;
  return strip.Pixel(w * (frame - 1) + w / 2, strip.Height() / 2);
}

// How much of the first frame of a strip a window shows at the box place of
// its side (`right`), from 0 to 1, pixel by pixel.
double ShareOfFirstFrame(HWND wnd, const skin::TBitmap& strip, int count, bool is_check,
                         bool right) {
  const skin::TBitmap shot = CaptureWindow(wnd);
  const int w = strip.Width() / count;
  const int h = strip.Height();
  const skin::TBoxPlace p =
      is_check ? skin::CheckBoxPlace(0, 0, shot.Width(), shot.Height(), w, h, right)
               : skin::RadioButtonPlace(0, 0, shot.Width(), shot.Height(), w, h, right);
  int same = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (shot.Pixel(p.BoxLeft + x, p.BoxTop + y) == strip.Pixel(x, y)) ++same;
  return static_cast<double>(same) / (w * h);
}

// The skin's box goes where the button draws its own, which it covers: on
// the left, on the right for text on the left, and on the right for a button
// laid out right to left (one box, never the native one beside the skin's).
TEST_F(SkinnedControlsTest, CheckAndRadioBoxesSitOnTheSideOfTheirOwnBox) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  const skin::TDataSkinButton& b = *Data().Data().Buttons;
  auto* check = Find<fw::TCheckBox>("Check1");
  auto* radio = Find<fw::TRadioButton>("Radio1");
  const struct {
    const char* what;
    fw::TAlignment alignment;
    fw::TBiDiMode mode;
    bool right;
  } cases[] = {
      {"text on the right", fw::taRightJustify, fw::bdLeftToRight, false},
      {"text on the left", fw::taLeftJustify, fw::bdLeftToRight, true},
      {"right to left", fw::taRightJustify, fw::bdRightToLeft, true},
  };
  auto shows_box_on = [&](HWND wnd, bool is_check, bool right) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    PumpPending();
    const skin::TBitmap& strip = is_check ? b.CheckBitmap : b.RadioBitmap;
    const int count = is_check ? b.CheckFrameCount : b.RadioFrameCount;
    return ShareOfFirstFrame(wnd, strip, count, is_check, right) > 0.8 &&
           ShareOfFirstFrame(wnd, strip, count, is_check, !right) < 0.5;
  };
  for (const auto& k : cases) {
    check->SetAlignment(k.alignment);
    check->SetBiDiMode(k.mode);
    radio->SetAlignment(k.alignment);
    radio->SetBiDiMode(k.mode);
    PumpPending();
    EXPECT_TRUE(shows_box_on(check->Handle(), true, k.right)) << k.what;
    EXPECT_TRUE(shows_box_on(radio->Handle(), false, k.right)) << k.what;
  }

  // A raw dialog's check box laid out right to left by its program.
  HWND dialog = RawDialog(nullptr);
  ASSERT_NE(dialog, nullptr);
  windows_.push_back(dialog);
  HWND raw = GetDlgItem(dialog, 101);
  SetWindowLongW(raw, GWL_EXSTYLE, GetWindowLongW(raw, GWL_EXSTYLE) | WS_EX_RIGHT);
  ShowWindow(dialog, SW_SHOW);
  ASSERT_NE(Skin(dialog), nullptr);
  EXPECT_TRUE(shows_box_on(raw, true, true));
}

TEST_F(SkinnedControlsTest, CheckAndRadioBoxesShowTheFrameOfTheirState) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  const skin::TDataSkinButton& b = *Data().Data().Buttons;
  auto* check = Find<fw::TCheckBox>("Check1");
  auto* radio = Find<fw::TRadioButton>("Radio1");
  auto box_centre = [&](HWND wnd, const skin::TBitmap& strip, int count, bool is_check) {
    PumpPending();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    PumpPending();
    const skin::TBitmap shot = CaptureWindow(wnd);
    const int w = strip.Width() / count;
    const skin::TBoxPlace p =
        is_check
            ? skin::CheckBoxPlace(0, 0, shot.Width(), shot.Height(), w, strip.Height(), false)
            : skin::RadioButtonPlace(0, 0, shot.Width(), shot.Height(), w, strip.Height(), false);
    return shot.Pixel(p.BoxLeft + w / 2, p.BoxTop + strip.Height() / 2);
  };
  const int fc = b.CheckFrameCount;
  const int fr = b.RadioFrameCount;
  ASSERT_EQ(fc, 12);  // the test skin's check image has 12 frames, its radio image 8
  ASSERT_EQ(fr, 8);
  const struct {
    const char* what;
    std::function<void()> set;
    int check_frame, radio_frame;
  } cases[] = {
      {"unchecked", [] {}, 1, 1},
      {"checked",
       [&] {
         check->SetChecked(true);
         radio->SetChecked(true);
       },
       5, 5},
      {"checked disabled",
       [&] {
         check->SetEnabled(false);
         radio->SetEnabled(false);
       },
       8, 8},
      {"unchecked disabled",
       [&] {
         check->SetChecked(false);
         radio->SetChecked(false);
       },
       4, 4},
  };
  for (const auto& k : cases) {
    k.set();
    EXPECT_EQ(box_centre(check->Handle(), b.CheckBitmap, fc, true),
              StripCentre(b.CheckBitmap, fc, k.check_frame))
        << k.what;
    EXPECT_EQ(box_centre(radio->Handle(), b.RadioBitmap, fr, false),
              StripCentre(b.RadioBitmap, fr, k.radio_frame))
        << k.what;
  }
  // Grey: 9, and 12 when disabled.
  check->SetAllowGrayed(true);
  check->SetState(fw::cbGrayed);
  EXPECT_EQ(box_centre(check->Handle(), b.CheckBitmap, fc, true),
            StripCentre(b.CheckBitmap, fc, 12));
  check->SetEnabled(true);
  EXPECT_EQ(box_centre(check->Handle(), b.CheckBitmap, fc, true),
            StripCentre(b.CheckBitmap, fc, 9));
}

// --- Recreation, and nothing left behind ---------------------------------------------

TEST_F(SkinnedControlsTest, AWindowCreatedAgainIsSkinnedAgain) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  auto* check = Find<fw::TCheckBox>("Check1");
  TSkinControl* skinner = SkinnerOf(*c, check);
  ASSERT_NE(skinner, nullptr);
  const test_support::TLiveCounts before = test_support::Live();
  HWND old = check->Handle();
  check->SetAlignment(fw::taLeftJustify);  // a new window
  ASSERT_NE(check->Handle(), old);
  EXPECT_EQ(SkinnerOf(*c, check), skinner);
  EXPECT_EQ(skinner->Status, skin::win::ssnAttached);
  EXPECT_EQ(skinner->Handle, check->Handle());
  c->PurgeDeadSkinners();
  EXPECT_EQ(SkinnerOf(*c, check), skinner);
  EXPECT_EQ(test_support::Live(), before);
  // Still painted from the skin: the box sits at the right now.
  check->SetChecked(true);
  RedrawWindow(check->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  const skin::TDataSkinButton& b = *Data().Data().Buttons;
  const skin::TBitmap shot = CaptureWindow(check->Handle());
  const int w = b.CheckBitmap.Width() / b.CheckFrameCount;
  const skin::TBoxPlace p =
      skin::CheckBoxPlace(0, 0, shot.Width(), shot.Height(), w, b.CheckBitmap.Height(), true);
  EXPECT_EQ(shot.Pixel(p.BoxLeft + w / 2, p.BoxTop + b.CheckBitmap.Height() / 2),
            StripCentre(b.CheckBitmap, b.CheckFrameCount, 5));
}

TEST_F(SkinnedControlsTest, SkinningOffAndOnLeavesNothingBehind) {
  Data().MenuImages();  // the skin data's own glyphs, kept for its life
  const test_support::TLiveCounts start = test_support::Live();
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  // Every control painted once, so each skinner's buffer exists.
  auto paint_all = [&] {
    PumpPending();
    RedrawWindow(form_->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
  };
  paint_all();
  auto* panel = Find<fw::TPanel>("Panel1");
  EXPECT_EQ(panel->Color(), fw::ColorToRGB(Data().Data().ButtonFaceColour));
  auto* manager = skin::win::TSkinManage::Instance();
  auto skinning = [&](bool on) {
    Data().SetActive(on);
    manager->DoTimer();
    PumpPending();
  };
  // One round first: the controls make the brushes and fonts they keep for
  // their life on first use; after that, a round must leave nothing.
  skinning(false);
  skinning(true);
  paint_all();
  const test_support::TLiveCounts skinned = test_support::Live();
  for (int i = 0; i < 3; ++i) {
    skinning(false);
    EXPECT_EQ(manager->FindSkinForm(form_->Handle()), nullptr);
    // Every control as it was: the panel's own colour, no hook left.
    EXPECT_EQ(panel->Color(), fw::clBtnFace);
    EXPECT_FALSE(panel->ParentColor());
    skinning(true);
    ASSERT_NE(manager->FindSkinForm(form_->Handle()), nullptr);
    paint_all();
    EXPECT_EQ(test_support::Live(), skinned) << "round " << i;
  }
  skinning(false);
  form_->Free();
  form_ = nullptr;
  PumpPending();
  EXPECT_EQ(test_support::Live(), start);
}

TEST_F(SkinnedControlsTest, AHundredSkinSwitchesLeaveNothingBehind) {
  test_support::Live();  // the counting starts before any window exists
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  auto* manager = skin::win::TSkinManage::Instance();
  const std::filesystem::path dir = std::filesystem::path(PROJECT_BINARY_DIR) / "skins";
  auto use = [&](const char* file) {
    Data().SetSkinFile((dir / file).wstring());
    manager->DoTimer();
    RedrawWindow(form_->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
  };
  auto settle = [] { PumpUntil([] { return false; }, 300); };
  // The window's own region belongs to the system once set, which may keep
  // the handle or not: it is left out, and only the window's one may be
  // alive beyond what was there before.
  auto counts = [&] {
    test_support::TLiveCounts live = test_support::Live();
    live.regions = 0;
    return live;
  };
  use("test.skn");
  use("default.skn");
  settle();
  const test_support::TLiveCounts before = counts();
  const int regions_before = test_support::Live().regions;
  const size_t skinners = c->Skinners.size();
  for (int i = 0; i < 50; ++i) {
    use("test.skn");
    use("default.skn");
  }
  settle();
  EXPECT_EQ(counts(), before);
  EXPECT_LE(test_support::Live().regions, regions_before + (c->HasRegion ? 1 : 0));
  EXPECT_EQ(c->Skinners.size(), skinners);
  EXPECT_EQ(manager->FindSkinForm(form_->Handle()), c);
}

// --- Message order ----------------------------------------------------------------

using test_support::kAnyWindow;
using test_support::kOptional;
using test_support::kSent;
using test_support::MatchesSequence;
using test_support::TExpectedMessage;
using test_support::TMessageRecorder;
using test_support::TWindowProcRecorder;

// What a skinner takes for itself never reaches the control below it, and
// the framework's control messages reach both: a recorder of the button's
// WindowProc made before skinning sits below the skinner, a window hook
// sees what goes through the window.
TEST_F(SkinnedControlsTest, MessageOrderThroughAttachRecreateAndDetach) {
  Data().SetActive(false);  // nothing was activated yet: off at once
  form_ = CreateForm(skin::win::fixtures::FormDescription(kControls));
  auto* button = Find<fw::TButton>("Button1");
  auto* check = Find<fw::TCheckBox>("Check1");
  TWindowProcRecorder below(*button);
  TWindowProcRecorder below_check(*check);
  auto* manager = skin::win::TSkinManage::Instance();
  Data().SetActive(true);
  manager->DoTimer();
  TWinSkinForm* c = Skin(form_->Handle());
  ASSERT_NE(c, nullptr);
  ASSERT_NE(SkinnerOf(*c, button), nullptr);

  // Painting: the window is painted, the button's own painting never runs.
  {
    TMessageRecorder window({button->Handle()});
    below.Clear();
    RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPending();
    EXPECT_FALSE(below.SawMessage(WM_PAINT));
    EXPECT_FALSE(below.SawMessage(WM_ERASEBKGND));
  }
  // A press is the skinner's; the release goes on; the control messages of
  // the mouse go through the window and on to the control.
  {
    TMessageRecorder window({button->Handle()});
    window.KeepOnly({WM_LBUTTONDOWN, WM_LBUTTONUP, fw::CM_MOUSEENTER, fw::CM_MOUSELEAVE});
    below.Clear();
    button->Perform(fw::CM_MOUSEENTER);
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    button->Perform(fw::CM_MOUSELEAVE);
    const TExpectedMessage kWindow[] = {
        {fw::CM_MOUSEENTER, kSent},
        {WM_LBUTTONDOWN, kSent},
        {WM_LBUTTONUP, kSent},
        {fw::CM_MOUSELEAVE, kSent},
    };
    EXPECT_TRUE(MatchesSequence(window.Seen(), kWindow, "through the window"));
    const TExpectedMessage kBelow[] = {
        {fw::CM_MOUSEENTER, kSent},
        {WM_LBUTTONUP, kSent},
        {fw::CM_MOUSELEAVE, kSent},
    };
    std::vector<test_support::TSeenMessage> kept;
    for (const auto& m : below.Seen()) {
      if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP || m.Msg == fw::CM_MOUSEENTER ||
          m.Msg == fw::CM_MOUSELEAVE) {
        kept.push_back(m);
      }
    }
    EXPECT_TRUE(MatchesSequence(kept, kBelow, "passed on to the button"));
  }
  // A new window for the check box: destroyed and made again under the
  // skinner, which hooks the new one when the framework says it is there.
  {
    below_check.Clear();
    check->SetAlignment(fw::taLeftJustify);
    const TExpectedMessage kRecreate[] = {
        {WM_WINDOWPOSCHANGING, kSent | kOptional},
        {WM_WINDOWPOSCHANGED, kSent | kOptional},
        {WM_KILLFOCUS, kSent | kOptional},
        {WM_DESTROY, kSent},
        {WM_NCDESTROY, kSent},
        // The new window (another handle), placed among its siblings and
        // given its font.
        {WM_WINDOWPOSCHANGING, kSent | kOptional | kAnyWindow},
        {WM_WINDOWPOSCHANGED, kSent | kOptional | kAnyWindow},
        {WM_SETFONT, kSent | kAnyWindow},
        {fw::CM_RECREATEWND, kSent | kAnyWindow},
    };
    std::vector<test_support::TSeenMessage> kept;
    for (const auto& m : below_check.Seen()) {
      if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY || m.Msg == fw::CM_RECREATEWND ||
          m.Msg == WM_WINDOWPOSCHANGING || m.Msg == WM_WINDOWPOSCHANGED || m.Msg == WM_KILLFOCUS ||
          m.Msg == WM_SETFONT) {
        kept.push_back(m);
      }
    }
    EXPECT_TRUE(MatchesSequence(kept, kRecreate, "recreate"));
    TSkinControl* skinner = SkinnerOf(*c, check);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->Handle, check->Handle());
    EXPECT_EQ(skinner->Status, skin::win::ssnAttached);
  }
  // Skinning off: the skinner is gone from the chain and the button paints
  // itself again.
  Data().SetActive(false);
  manager->DoTimer();
  PumpPending();
  below.Clear();
  RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpPending();
  EXPECT_TRUE(below.SawMessage(WM_PAINT));
}

// A skinner whose painting and whose message handling fail on demand.
class TFailingSkinner : public skin::win::TSkinButton {
 public:
  using TSkinButton::TSkinButton;
  bool fail_paint = false;
  bool fail_message = false;

 protected:
  void PaintTo(HDC dc, const RECT& rect) override {
    // Something half drawn first: the error must not leave it selected.
    HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, old);
    if (fail_paint) throw std::runtime_error("painting failed");
    TSkinButton::PaintTo(dc, rect);
  }
  void AfterMessage(fw::TMessage& m) override {
    if (fail_message && m.Msg == WM_KEYUP) throw std::runtime_error("handling failed");
    TSkinButton::AfterMessage(m);
  }
};

TEST_F(SkinnedControlsTest, PaintingErrorsAreSwallowedAndHandlingErrorsReachTheApplication) {
  std::vector<std::string> errors;
  app_->OnException = [&](const std::exception& e) { errors.push_back(e.what()); };
  TFailingSkinner* failing = nullptr;
  Data().OnSkinControl = [&](fw::TComponent*, skin::win::TSkinData*, fw::TControl*,
                             fw::TControl* control, const std::wstring&, fw::TComponent*& made) {
    if (control->Name() == "Button1") made = failing = new TFailingSkinner(control);
  };
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  ASSERT_NE(failing, nullptr);
  HWND button = Find<fw::TButton>("Button1")->Handle();
  PumpPending();
  const test_support::TLiveCounts before = test_support::Live();
  failing->fail_paint = true;
  for (int i = 0; i < 20; ++i) {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    failing->Paint(nullptr);
  }
  PumpPending();
  EXPECT_TRUE(errors.empty()) << errors.front();
  // The window was validated: no paint loop.
  EXPECT_FALSE(GetUpdateRect(button, nullptr, FALSE));
  failing->fail_paint = false;
  failing->fail_message = true;
  SendMessageW(button, WM_KEYUP, 'A', 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "handling failed");
  failing->fail_message = false;
  // The skinner still serves the button, and nothing stayed behind.
  form_->SetActiveControl(Find<fw::TEdit>("Edit1"));
  EXPECT_TRUE(ShowsFrame(button, Data().Data(), 1, "after the errors"));
  EXPECT_EQ(test_support::Live(), before);
}

// A copy of a built skin whose images with "button" in their name are
// damaged (the push buttons' image among them), written beside the tests.
std::filesystem::path DamagedSkinFile(const char* skin) {
  const std::filesystem::path dir = std::filesystem::path(PROJECT_BINARY_DIR) / "skins";
  std::ifstream in(dir / skin, std::ios::binary);
  skin::TMemoryStream packed;
  packed.Write(
      std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  packed.SetPosition(0);
  skin::TSkinReader reader;
  if (!reader.LoadPackage(packed)) return {};
  std::vector<skin::TSkinPackageEntry> entries;
  for (const std::string& name : reader.Names()) {
    skin::TMemoryStream entry;
    reader.ExtractEntry(name, entry);
    std::vector<uint8_t> bytes(entry.Bytes().begin(), entry.Bytes().end());
    if (name.find("button") != std::string::npos && name.ends_with(".bmp")) {
      bytes = {'B', 'M', 0, 1, 2, 3, 4, 5};
    }
    entries.push_back({name, std::move(bytes)});
  }
  const std::filesystem::path out =
      dir / ("damaged-" + std::to_string(GetCurrentProcessId()) + ".skn");
  const std::vector<uint8_t> bytes = skin::WriteSkinPackage(entries);
  std::ofstream(out, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return out;
}

TEST_F(SkinnedControlsTest, AFailedSkinSwitchLeavesTheOldSkinWorking) {
  TWinSkinForm* c = SkinnedForm();
  ASSERT_NE(c, nullptr);
  const skin::TSkinData& d = Data().Data();
  std::vector<const void*> elements;
  for (const auto& b : c->TitleButtons)
    elements.push_back(b->Element);
  ASSERT_FALSE(elements.empty());
  const std::filesystem::path damaged = DamagedSkinFile("default.skn");
  ASSERT_FALSE(damaged.empty());
  bool failed = false;
  try {
    Data().SetSkinFile(damaged.wstring());
  } catch (const std::exception& e) {
    failed = true;
    EXPECT_NE(std::string(e.what()).find("SkinFile"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(failed);
  std::filesystem::remove(damaged);
  skin::win::TSkinManage::Instance()->DoTimer();
  PumpPending();
  // The elements every window paints from are those it had.
  EXPECT_FALSE(d.NotLoaded);
  ASSERT_EQ(c->TitleButtons.size(), elements.size());
  for (size_t i = 0; i < elements.size(); ++i) {
    EXPECT_EQ(c->TitleButtons[i]->Element, elements[i]);
    EXPECT_EQ(c->TitleButtons[i]->Element, d.SysButtons[i].get());
  }
  // The mouse over the frame's buttons and over the controls still paints
  // from the old skin.
  for (const auto& b : c->TitleButtons) {
    if (!b->Visible) continue;
    SendNCMouse(*c, WM_NCMOUSEMOVE, HTCAPTION, Centre(b->Rect));
  }
  PumpPending();
  auto* button = Find<fw::TButton>("Button1");
  fw::TMessage enter{skin::win::CM_MOUSEENTER, 0, 0, 0};
  SkinnerOf(*c, button)->WndProc(enter);
  form_->SetActiveControl(Find<fw::TEdit>("Edit1"));
  EXPECT_TRUE(ShowsFrame(button->Handle(), d, 4, "hot after a failed switch"));
  // A good package after that switches completely.
  const std::filesystem::path good =
      std::filesystem::path(PROJECT_BINARY_DIR) / "skins" / "default.skn";
  Data().SetSkinFile(good.wstring());
  skin::win::TSkinManage::Instance()->DoTimer();
  PumpPending();
  for (size_t i = 0; i < c->TitleButtons.size(); ++i) {
    EXPECT_EQ(c->TitleButtons[i]->Element, d.SysButtons[i].get());
  }
  EXPECT_TRUE(ShowsFrame(button->Handle(), d, 4, "hot after a good switch"));
}

}  // namespace
}  // namespace skin_test
