// BiDiMode: the extended styles a right-to-left form and its controls are
// created with (and recreated with when it changes), children following
// their parent, right-to-left menus, and status bar panels following their
// bar.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/registry.h"
#include "framework/stdctrls.h"

namespace fw {
namespace {

constexpr DWORD kBiDiStyles = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT;

DWORD BiDiStyles(HWND wnd) {
  return static_cast<DWORD>(GetWindowLongW(wnd, GWL_EXSTYLE)) & kBiDiStyles;
}

UINT EntryType(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
  return info.fType & (MFT_RIGHTORDER | MFT_RIGHTJUSTIFY);
}

class BiDiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFrameworkClasses();
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    form_ = app_->CreateForm<TForm>();
    form_->SetClientWidth(300);
    form_->SetClientHeight(150);
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
};

TEST_F(BiDiTest, WindowsTakeTheStylesOfTheirModeAndChildrenFollowTheirParent) {
  auto* follows = new TEdit(form_);
  follows->SetParent(form_);
  auto* reading_only = new TEdit(form_);
  reading_only->SetParent(form_);
  reading_only->SetBiDiMode(bdRightToLeftReadingOnly);
  auto* no_align = new TEdit(form_);
  no_align->SetParent(form_);
  no_align->SetBiDiMode(bdRightToLeftNoAlign);
  form_->SetBiDiMode(bdRightToLeft);
  form_->Show();
  EXPECT_EQ(follows->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(BiDiStyles(form_->Handle()), kBiDiStyles);
  EXPECT_EQ(BiDiStyles(follows->Handle()), kBiDiStyles);
  EXPECT_EQ(BiDiStyles(reading_only->Handle()), DWORD(WS_EX_RTLREADING));
  EXPECT_EQ(BiDiStyles(no_align->Handle()), DWORD(WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR));

  // Back to left to right while shown: new windows without the styles, the
  // text kept; a control with a mode of its own keeps it.
  follows->SetText(L"texto");
  form_->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(BiDiStyles(form_->Handle()), 0u);
  EXPECT_EQ(follows->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(BiDiStyles(follows->Handle()), 0u);
  EXPECT_EQ(follows->Text(), L"texto");
  EXPECT_EQ(BiDiStyles(reading_only->Handle()), DWORD(WS_EX_RTLREADING));
  // Following the parent again takes its mode.
  reading_only->SetParentBiDiMode(true);
  EXPECT_EQ(BiDiStyles(reading_only->Handle()), 0u);
}

TEST_F(BiDiTest, ARightToLeftFormHasARightToLeftMenu) {
  auto* menu = new TMainMenu(form_);
  auto* arquivo = new TMenuItem(form_);
  arquivo->SetCaption(L"&Arquivo");
  auto* abrir = new TMenuItem(form_);
  abrir->SetCaption(L"&Abrir");
  menu->Items()->Add(arquivo);
  arquivo->Add(abrir);
  form_->SetMenu(menu);
  form_->SetBiDiMode(bdRightToLeft);
  form_->Show();
  const HMENU bar = GetMenu(form_->Handle());
  const HMENU file = arquivo->Handle();
  EXPECT_TRUE(menu->IsRightToLeft());
  // The bar's entries from the right, the drop-down's read right to left.
  EXPECT_EQ(EntryType(bar, 0), UINT(MFT_RIGHTORDER | MFT_RIGHTJUSTIFY));
  EXPECT_EQ(EntryType(file, 0), UINT(MFT_RIGHTORDER));

  // The form changes: the menu follows, in the same handles.
  form_->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(menu->IsRightToLeft());
  EXPECT_EQ(GetMenu(form_->Handle()), bar);
  EXPECT_EQ(arquivo->Handle(), file);
  EXPECT_EQ(EntryType(bar, 0), 0u);
  EXPECT_EQ(EntryType(file, 0), 0u);

  // A menu with a mode of its own keeps it.
  menu->SetBiDiMode(bdRightToLeft);
  form_->SetBiDiMode(bdLeftToRight);
  EXPECT_TRUE(menu->IsRightToLeft());
  EXPECT_EQ(EntryType(file, 0), UINT(MFT_RIGHTORDER));
}

TEST_F(BiDiTest, StatusPanelsFollowTheirBar) {
  auto* bar = new TStatusBar(form_);
  bar->SetParent(form_);
  TStatusPanel* left = bar->Panels()->Add();
  left->SetText(L"registro");
  left->SetWidth(120);
  TStatusPanel* own = bar->Panels()->Add();
  own->SetText(L"pronto");
  own->SetBiDiMode(bdLeftToRight);
  bar->SetBiDiMode(bdRightToLeft);
  form_->Show();
  EXPECT_EQ(left->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(left->ShownAlignment(), taRightJustify);
  EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(own->ShownAlignment(), taLeftJustify);
  // The control shows the first panel's text right-aligned and read right to
  // left.
  wchar_t text[64] = {};
  const LRESULT info = SendMessageW(bar->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"\t\tregistro");
  EXPECT_TRUE(HIWORD(info) & SBT_RTLREADING);
  SendMessageW(bar->Handle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"pronto");
}

}  // namespace
}  // namespace fw
