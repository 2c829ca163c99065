// The Win32 side of the framework: replaceable WindowProc, graphic controls
// painted and clicked through their parent, deferred Release, the
// application's error box, glyph button layout and PNG pictures.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "framework/buttons.h"
#include "framework/forms.h"
#include "framework/gauges.h"
#include "framework/stdctrls.h"
#include "tests/support/win/lambda_hooks.h"

namespace fw {
namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    form_ = new TForm(app_.get());
    app_->SetMainForm(form_);
    form_->SetClientWidth(200);
    form_->SetClientHeight(100);
    panel_ = new TPanel(form_);
    panel_->SetParent(form_);
    panel_->SetBounds(0, 0, 200, 100);
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
  TPanel* panel_ = nullptr;
};

TEST_F(ControlsTest, WindowProcCanBeReplacedAndRestored) {
  HWND h = panel_->Handle();
  std::vector<UINT> seen;
  TWndMethod original = panel_->WindowProc;
  {
    test_support::TLambdaHook hook(*panel_, [&](TMessage& m, const TWindowProcHook& self) {
      seen.push_back(m.Msg);
      if (m.Msg == WM_APP + 1) {
        m.Result = 42;  // handled here, never reaches the control
        return;
      }
      self.CallPrevious(m);
    });
    EXPECT_NE(panel_->WindowProc, original);
    EXPECT_EQ(SendMessageW(h, WM_APP + 1, 0, 0), 42);
    EXPECT_EQ(panel_->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc")), TRUE);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_SETTEXT}));
    wchar_t text[8] = {};
    GetWindowTextW(h, text, 8);
    EXPECT_STREQ(text, L"abc");  // passed on to the window class
  }
  EXPECT_EQ(panel_->WindowProc, original);
  seen.clear();
  SendMessageW(h, WM_APP + 1, 0, 0);
  EXPECT_TRUE(seen.empty());
}

TEST_F(ControlsTest, GraphicControlsArePaintedAndClickedThroughTheirParent) {
  auto* label = new TLabel(form_);
  label->SetParent(panel_);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 50, 20);
  int clicks = 0;
  label->OnClick = [&](TObject*) { ++clicks; };
  int paints = 0;
  test_support::TLambdaHook hook(*label, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_PAINT) {
      ++paints;
      // The DC's origin is the label's own top-left corner.
      POINT org{};
      GetViewportOrgEx(reinterpret_cast<HDC>(m.WParam), &org);
      EXPECT_EQ(org.x, 10);
      EXPECT_EQ(org.y, 10);
    }
    self.CallPrevious(m);
  });
  form_->Show();
  RedrawWindow(panel_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GE(paints, 1);
  SendMessageW(panel_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
  SendMessageW(panel_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
  SendMessageW(panel_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));  // beside it
  SendMessageW(panel_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 50));
  EXPECT_EQ(clicks, 1);
}

class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  TComponent* watched = nullptr;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == watched) watched = nullptr;
  }
};

TEST_F(ControlsTest, ReleaseFreesTheFormOnlyAfterTheCurrentMessage) {
  auto* second = new TForm(app_.get());
  TWatcher watcher(nullptr);
  watcher.watched = second;
  watcher.FreeNotification(second);
  second->Show();
  second->Release();
  EXPECT_EQ(watcher.watched, second);  // still there
  app_->ProcessMessages();
  EXPECT_EQ(watcher.watched, nullptr);
  EXPECT_EQ(Screen().FormCount(), 1);
}

TEST_F(ControlsTest, AnErrorInAHandlerGoesToTheApplicationAndEndsOnlyThatHandler) {
  auto* button = new TBitBtn(form_);
  button->SetParent(panel_);
  button->SetBounds(0, 0, 80, 25);
  bool after = false;
  button->OnClick = [&](TObject*) {
    throw std::runtime_error("Falhou");
    after = true;
  };
  std::string reported;
  app_->OnException = [&](const std::exception& e) { reported = e.what(); };
  form_->Show();
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(reported, "Falhou");
  EXPECT_FALSE(after);
  EXPECT_TRUE(IsWindow(form_->Handle()));
}

TEST_F(ControlsTest, KeyPreviewLetsTheFormSeeAndDropKeysFirst) {
  auto* edit = new TEdit(form_);
  edit->SetParent(panel_);
  edit->SetBounds(0, 0, 80, 20);
  std::vector<std::string> order;
  form_->SetKeyPreview(true);
  form_->OnKeyPress = [&](TObject*, wchar_t& k) {
    order.push_back("form");
    if (k == L'x') k = 0;
  };
  edit->OnKeyPress = [&](TObject*, wchar_t&) { order.push_back("edit"); };
  form_->Show();
  SendMessageW(edit->Handle(), WM_CHAR, L'a', 0);
  SendMessageW(edit->Handle(), WM_CHAR, L'x', 0);
  EXPECT_EQ(order, (std::vector<std::string>{"form", "edit", "form"}));
  EXPECT_EQ(edit->Text(), L"a");
}

TEST(GlyphButtonLayout, GlyphAndTextPlacement) {
  const RECT client{0, 0, 100, 30};
  const SIZE glyph{16, 16};
  const SIZE text{40, 13};
  struct TCase {
    TButtonLayout layout;
    int32_t margin, spacing;
    POINT glyph_pos;
    LONG text_left, text_top;
  } cases[] = {
      // centred: (100 - (16 + 4 + 40)) / 2 = 20
      {blGlyphLeft, -1, 4, {20, 7}, 40, 8},
      {blGlyphLeft, 2, 4, {2, 7}, 22, 8},
      {blGlyphRight, -1, 4, {64, 7}, 20, 8},
      // glyph and text share the height: (30 - (16 + 4 + 13)) / 2 = -1
      {blGlyphTop, -1, 4, {42, -1}, 30, 19},
      // spacing -1 with a margin: the rest split between the gaps
      {blGlyphLeft, 4, -1, {4, 7}, 40, 8},
  };
  for (const auto& c : cases) {
    auto r = TBitBtn::CalcLayout(client, glyph, text, c.layout, c.margin, c.spacing);
    EXPECT_EQ(r.GlyphPos.x, c.glyph_pos.x) << c.layout << " " << c.margin;
    EXPECT_EQ(r.GlyphPos.y, c.glyph_pos.y) << c.layout << " " << c.margin;
    EXPECT_EQ(r.TextRect.left, c.text_left) << c.layout << " " << c.margin;
    EXPECT_EQ(r.TextRect.top, c.text_top) << c.layout << " " << c.margin;
  }
  EXPECT_TRUE(IsAccel(L'a', L"&Abrir"));
  EXPECT_TRUE(IsAccel(L'E', L"&Efetuar Atualiza\u00e7\u00e3o"));
  EXPECT_FALSE(IsAccel(L'b', L"&Abrir"));
  EXPECT_FALSE(IsAccel(L'a', L"A&&b"));
}

TEST(Picture, DecodesPngWithAlphaAndRejectsOtherData) {
  // 2x1 RGBA: opaque red, then half-transparent green.
  static const unsigned char png[] = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
      0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4,
      0x22, 0x7F, 0x8A, 0x00, 0x00, 0x00, 0x0F, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8,
      0xCF, 0xC0, 0xF0, 0x1F, 0x08, 0x1B, 0x00, 0x10, 0x79, 0x03, 0x7E, 0xC4, 0x18, 0x72, 0x90,
      0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  TPicture picture;
  picture.LoadPng(png, sizeof(png));
  ASSERT_EQ(picture.Width(), 2);
  ASSERT_EQ(picture.Height(), 1);
  const uint32_t* p = picture.Bitmap().Pixels();
  EXPECT_EQ(p[0], 0xFFFF0000u);
  EXPECT_EQ(p[1] >> 24, 0x80u);
  EXPECT_EQ((p[1] >> 8) & 0xFF, 0x80u);  // premultiplied
  const char junk[] = "not a picture";
  EXPECT_THROW(picture.LoadPng(junk, sizeof(junk)), Exception);
}

TEST(Gauge, PercentOfTheRange) {
  TGauge g(nullptr);
  EXPECT_EQ(g.PercentDone(), 0);
  g.SetMaxValue(3);
  g.SetProgress(1);
  EXPECT_EQ(g.PercentDone(), 33);
  g.SetProgress(7);  // clamped to the range
  EXPECT_EQ(g.PercentDone(), 100);
  g.SetMaxValue(0);
  EXPECT_EQ(g.PercentDone(), 0);
}

}  // namespace
}  // namespace fw
