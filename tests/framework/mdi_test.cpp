// MDI forms: an fsMDIForm creates its "MDIClient" window beside its aligned
// controls, fsMDIChild forms are WS_EX_MDICHILD windows in it, the default
// handling goes to the frame and child procedures (maximize, restore,
// minimize, tile, cascade, next, the window menu), and the active child's
// menu is merged into the frame's by GroupIndex.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/panels.h"
#include "framework/registry.h"
#include "framework/stdctrls.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/message_sequence.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

// The texts of a menu's entries that are strings (a maximized child's
// system menu and buttons are bitmaps).
std::vector<std::wstring> Entries(HMENU menu) {
  std::vector<std::wstring> list;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    if ((info.fType & (MFT_BITMAP | MFT_SEPARATOR)) != 0) continue;
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    list.emplace_back(text);
  }
  return list;
}

using TEntries = std::vector<std::wstring>;

class MDITest : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = test_support::Live();
    RegisterFrameworkClasses();
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    frame_ = app_->CreateForm<TForm>();
    frame_->SetName("Principal");
    frame_->SetFormStyle(fsMDIForm);
    frame_->SetClientWidth(600);
    frame_->SetClientHeight(400);
    bar_ = new TPanel(frame_);
    bar_->SetParent(frame_);
    bar_->SetHeight(30);
    bar_->SetAlign(alTop);
    menu_ = new TMainMenu(frame_);
    arquivo_ = Item(frame_, menu_->Items(), L"&Arquivo", 0);
    Item(frame_, arquivo_, L"&Novo", 0);
    janela_ = Item(frame_, menu_->Items(), L"&Janela", 9);
    Item(frame_, janela_, L"&Lado a lado", 0);
    frame_->SetMenu(menu_);
    frame_->SetWindowMenu(janela_);
    frame_->Show();
  }
  void TearDown() override {
    app_.reset();
    EXPECT_EQ(test_support::Live(), before_);
  }

  static TMenuItem* Item(TComponent* owner, TMenuItem* parent, const wchar_t* caption, int group) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetGroupIndex(group);
    parent->Add(item);
    return item;
  }

  TForm* NewChild(const wchar_t* caption) {
    auto* child = new TForm(app_.get());
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(caption);
    child->SetPosition(poDefault);
    child->SetClientWidth(200);
    child->SetClientHeight(120);
    child->Show();
    return child;
  }

  HMENU FrameMenu() const { return GetMenu(frame_->Handle()); }

  test_support::TLiveCounts before_{};
  std::unique_ptr<TApplication> app_;
  TForm* frame_ = nullptr;
  TPanel* bar_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TMenuItem* arquivo_ = nullptr;
  TMenuItem* janela_ = nullptr;
};

TEST_F(MDITest, TheFrameHasItsClientAndTheChildrenLiveInIt) {
  const HWND client = frame_->ClientHandle();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(ClassOf(client), L"MDIClient");
  EXPECT_EQ(GetParent(client), frame_->Handle());
  // The client takes what the aligned controls leave.
  RECT r{};
  GetWindowRect(client, &r);
  MapWindowPoints(HWND_DESKTOP, frame_->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.bottom, 400);
  EXPECT_EQ(r.right - r.left, 600);
  frame_->SetClientHeight(300);
  GetWindowRect(client, &r);
  MapWindowPoints(HWND_DESKTOP, frame_->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.bottom, 300);

  TForm* a = NewChild(L"Planilha A");
  TForm* b = NewChild(L"Planilha B");
  TForm* c = NewChild(L"Planilha C");
  for (TForm* child : {a, b, c}) {
    EXPECT_EQ(GetParent(child->Handle()), client);
    EXPECT_TRUE(GetWindowLongW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(child->MDIFrame(), frame_);
  }
  EXPECT_EQ(frame_->MDIChildCount(), 3);
  EXPECT_EQ(frame_->ActiveMDIChild(), c);
  EXPECT_EQ(frame_->MDIChildren(0), c);
  // The window menu lists the children after its own items.
  EXPECT_EQ(Entries(janela_->Handle()),
            (TEntries{L"&Lado a lado", L"&1 Planilha A", L"&2 Planilha B", L"&3 Planilha C"}));
  // Choosing one there (the frame procedure) activates it.
  SendMessageW(frame_->Handle(), WM_COMMAND, MAKEWPARAM(0xFF00, 0), 0);
  EXPECT_EQ(frame_->ActiveMDIChild(), a);
  frame_->Next();
  EXPECT_NE(frame_->ActiveMDIChild(), a);
  frame_->Previous();
  EXPECT_EQ(frame_->ActiveMDIChild(), a);

  // Closing a child frees it and takes it out of the client.
  b->Close();
  test_support::PumpPending();
  EXPECT_EQ(frame_->MDIChildCount(), 2);
  EXPECT_EQ(Entries(janela_->Handle()),
            (TEntries{L"&Lado a lado", L"&1 Planilha A", L"&2 Planilha C"}));
}

TEST_F(MDITest, WindowStatesTileAndCascadeGoThroughTheMDIProcedures) {
  TForm* a = NewChild(L"A");
  TForm* b = NewChild(L"B");
  EXPECT_EQ(b->WindowState(), wsNormal);
  b->SetWindowState(wsMaximized);
  EXPECT_EQ(b->WindowState(), wsMaximized);
  BOOL maximized = FALSE;
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(frame_->ClientHandle(), WM_MDIGETACTIVE, 0,
                                                reinterpret_cast<LPARAM>(&maximized))),
            b->Handle());
  EXPECT_TRUE(maximized);
  // The maximized child's system menu and buttons are in the frame's bar,
  // around the frame's own items.
  EXPECT_GT(GetMenuItemCount(FrameMenu()), 2);
  EXPECT_EQ(Entries(FrameMenu()), (TEntries{L"&Arquivo", L"&Janela"}));
  // Another child activated while one is maximized is maximized too.
  SendMessageW(frame_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  EXPECT_EQ(a->WindowState(), wsMaximized);
  a->SetWindowState(wsNormal);
  EXPECT_EQ(a->WindowState(), wsNormal);
  EXPECT_EQ(GetMenuItemCount(FrameMenu()), 2);

  b->SetWindowState(wsMinimized);
  EXPECT_EQ(b->WindowState(), wsMinimized);
  b->SetWindowState(wsNormal);

  // Tiled: side by side, none over another; cascaded: stepped.
  frame_->SetTileMode(tbVertical);
  frame_->Tile();
  RECT ra{};
  RECT rb{};
  GetWindowRect(a->Handle(), &ra);
  GetWindowRect(b->Handle(), &rb);
  RECT overlap{};
  EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb));
  EXPECT_EQ(ra.top, rb.top);
  frame_->Cascade();
  GetWindowRect(a->Handle(), &ra);
  GetWindowRect(b->Handle(), &rb);
  EXPECT_NE(ra.left, rb.left);
  EXPECT_NE(ra.top, rb.top);
  EXPECT_EQ(a->WindowState(), wsNormal);
  EXPECT_EQ(b->WindowState(), wsNormal);

  // Icons moved away are put back in a row at the client's bottom.
  a->SetWindowState(wsMinimized);
  b->SetWindowState(wsMinimized);
  SetWindowPos(a->Handle(), nullptr, 150, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  frame_->ArrangeIcons();
  RECT client{};
  GetClientRect(frame_->ClientHandle(), &client);
  GetWindowRect(a->Handle(), &ra);
  GetWindowRect(b->Handle(), &rb);
  EXPECT_EQ(ra.top, rb.top);
  EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb));
  MapWindowPoints(HWND_DESKTOP, frame_->ClientHandle(), reinterpret_cast<POINT*>(&ra), 2);
  EXPECT_EQ(ra.bottom, client.bottom);
}

TEST_F(MDITest, TheActiveChildsMenuIsMergedByGroupIndex) {
  // A: its own "Arquivo" (group 0, replaces the frame's) and "Editar" (1).
  TForm* a = new TForm(app_.get());
  a->SetFormStyle(fsMDIChild);
  auto* menu_a = new TMainMenu(a);
  TMenuItem* arquivo_a = Item(a, menu_a->Items(), L"A&rquivo da planilha", 0);
  Item(a, arquivo_a, L"&Salvar", 0);
  TMenuItem* editar = Item(a, menu_a->Items(), L"&Editar", 1);
  TMenuItem* copiar = Item(a, editar, L"&Copiar", 0);
  a->SetMenu(menu_a);
  // B: no menu. C: "Ferramentas" (5), between the frame's groups 0 and 9.
  TForm* c = new TForm(app_.get());
  c->SetFormStyle(fsMDIChild);
  auto* menu_c = new TMainMenu(c);
  Item(c, menu_c->Items(), L"&Ferramentas", 5);
  c->SetMenu(menu_c);

  const HMENU bar = FrameMenu();
  const HMENU file = arquivo_->Handle();
  test_support::TMessageRecorder rec({frame_->Handle()});
  rec.KeepOnly({CM_MENUCHANGED});

  a->Show();
  EXPECT_EQ(Entries(bar), (TEntries{L"A&rquivo da planilha", L"&Editar", L"&Janela"}));
  EXPECT_FALSE(rec.Seen().empty());
  EXPECT_EQ(FrameMenu(), bar);
  // The merged items keep their own popups and commands.
  EXPECT_EQ(GetSubMenu(bar, GetMenuItemCount(bar) - 2), editar->Handle());
  int copied = 0;
  copiar->OnClick = [&](TObject*) { ++copied; };
  SendMessageW(frame_->Handle(), WM_COMMAND, MAKEWPARAM(copiar->Command(), 0), 0);
  EXPECT_EQ(copied, 1);
  // A change to a merged item shows in the frame's bar and is told there.
  rec.Clear();
  editar->SetCaption(L"E&dição");
  EXPECT_EQ(Entries(bar), (TEntries{L"A&rquivo da planilha", L"E&dição", L"&Janela"}));
  EXPECT_FALSE(rec.Seen().empty());

  // Someone took the menu off the frame (a skinned frame draws its bar
  // itself): the next merge puts it back, for that someone to read again.
  ::SetMenu(frame_->Handle(), nullptr);
  TForm* b = NewChild(L"B");
  EXPECT_EQ(FrameMenu(), bar);
  EXPECT_EQ(Entries(bar), (TEntries{L"&Arquivo", L"&Janela"}));
  c->Show();
  EXPECT_EQ(Entries(bar), (TEntries{L"&Arquivo", L"&Ferramentas", L"&Janela"}));
  SendMessageW(frame_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  EXPECT_EQ(Entries(bar), (TEntries{L"A&rquivo da planilha", L"E&dição", L"&Janela"}));

  // Children go; the last one leaves the frame's own menu, with the same
  // handles all along.
  for (TForm* child : {c, a, b}) {
    child->Close();
    test_support::PumpPending();
  }
  EXPECT_EQ(frame_->MDIChildCount(), 0);
  EXPECT_EQ(Entries(bar), (TEntries{L"&Arquivo", L"&Janela"}));
  EXPECT_EQ(FrameMenu(), bar);
  EXPECT_EQ(arquivo_->Handle(), file);
  EXPECT_EQ(GetSubMenu(bar, 0), file);
}

TEST_F(MDITest, AChildWithItsMenuFreedWhileMergedLeavesTheFramesBar) {
  TForm* a = new TForm(app_.get());
  a->SetFormStyle(fsMDIChild);
  auto* menu_a = new TMainMenu(a);
  Item(a, menu_a->Items(), L"&Editar", 1);
  a->SetMenu(menu_a);
  a->Show();
  ASSERT_EQ(Entries(FrameMenu()), (TEntries{L"&Arquivo", L"&Editar", L"&Janela"}));
  // Freed at once (not closed): the frame's bar never shows a freed item.
  a->Free();
  EXPECT_EQ(Entries(FrameMenu()), (TEntries{L"&Arquivo", L"&Janela"}));
  EXPECT_EQ(menu_->Merged(), nullptr);
}

TEST_F(MDITest, AFrameFreedWithItsChildrenAndAMergedMenuLeavesNothing) {
  // Children owned by the frame, one of them merged: all go with the frame
  // (the fixture checks the live counts at its end).
  for (int i = 0; i < 2; ++i) {
    auto* child = new TForm(frame_);
    child->SetFormStyle(fsMDIChild);
    auto* menu = new TMainMenu(child);
    Item(child, menu->Items(), L"&Editar", 1);
    child->SetMenu(menu);
    child->Show();
  }
  ASSERT_EQ(Entries(FrameMenu()), (TEntries{L"&Arquivo", L"&Editar", L"&Janela"}));
  // One owned by the application outlives the frame, without a window.
  TForm* outliving = NewChild(L"Fora");
  auto* its_menu = new TMainMenu(outliving);
  Item(outliving, its_menu->Items(), L"&Ferramentas", 5);
  outliving->SetMenu(its_menu);
  ASSERT_EQ(menu_->Merged(), its_menu);
  const HMENU bar = FrameMenu();
  frame_->Free();
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(outliving->HandleAllocated());
  EXPECT_EQ(its_menu->WindowHandle(), nullptr);
  outliving->Free();
}

TEST_F(MDITest, ShortCutsOfTheChildsAndTheFramesMenusRunFromTheChild) {
  TMenuItem* novo = arquivo_->Items(0);
  novo->SetShortCut(scCtrl | 'N');
  TForm* a = new TForm(app_.get());
  a->SetFormStyle(fsMDIChild);
  auto* menu_a = new TMainMenu(a);
  TMenuItem* editar = Item(a, menu_a->Items(), L"&Editar", 1);
  TMenuItem* copiar = Item(a, editar, L"&Copiar", 0);
  copiar->SetShortCut(scCtrl | 'K');
  a->SetMenu(menu_a);
  auto* edit = new TEdit(a);
  edit->SetParent(a);
  edit->SetBounds(4, 4, 100, 22);
  edit->SetTabStop(true);
  a->Show();
  SetForegroundWindow(frame_->Handle());
  edit->SetFocus();
  ASSERT_EQ(GetFocus(), edit->Handle());
  int copied = 0;
  int created = 0;
  copiar->OnClick = [&](TObject*) { ++copied; };
  novo->OnClick = [&](TObject*) { ++created; };
  auto press = [](WORD key) {
    INPUT in[4] = {};
    for (INPUT& i : in)
      i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = VK_CONTROL;
    in[1].ki.wVk = in[2].ki.wVk = key;
    in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, in, sizeof(INPUT));
  };
  auto run_until = [&](const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 3000) {
      if (!app_->ProcessMessage()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
  };
  press('K');
  EXPECT_TRUE(run_until([&] { return copied == 1; }));
  press('N');
  EXPECT_TRUE(run_until([&] { return created == 1; }));
  EXPECT_EQ(edit->Text(), L"");
}

TEST(FormWindowState, AFormShowsInItsStateAndChangesIt) {
  RegisterFrameworkClasses();
  auto app = std::make_unique<TApplication>();
  auto* form = app->CreateForm<TForm>();
  form->SetClientWidth(200);
  form->SetClientHeight(100);
  form->SetWindowState(wsMaximized);
  EXPECT_EQ(form->WindowState(), wsMaximized);
  form->Show();
  EXPECT_TRUE(IsZoomed(form->Handle()));
  struct TCase {
    TWindowState state;
    bool zoomed, iconic;
  } cases[] = {{wsNormal, false, false}, {wsMinimized, false, true}, {wsMaximized, true, false}};
  for (const TCase& c : cases) {
    form->SetWindowState(c.state);
    test_support::PumpUntil([&] { return form->WindowState() == c.state; }, 1000);
    EXPECT_EQ(form->WindowState(), c.state);
    EXPECT_EQ(IsZoomed(form->Handle()) != FALSE, c.zoomed);
    EXPECT_EQ(IsIconic(form->Handle()) != FALSE, c.iconic);
  }
}

// The frame's window made again (its reading order turned right to left):
// its children are made again inside the new client, with their captions,
// places and the active child's merged menu, instead of going with the old
// client's window while their forms live on.
TEST_F(MDITest, AFrameMadeAgainKeepsItsChildren) {
  TForm* a = NewChild(L"Planilha A");
  TForm* b = NewChild(L"Planilha B");
  auto* menu = new TMainMenu(b);
  Item(b, menu->Items(), L"&Documento", 1);
  b->SetMenu(menu);
  RECT a_place;
  GetWindowRect(a->Handle(), &a_place);
  const HWND old_client = frame_->ClientHandle();

  frame_->SetBiDiMode(bdRightToLeft);
  test_support::PumpPending();
  ASSERT_NE(frame_->ClientHandle(), nullptr);
  EXPECT_NE(frame_->ClientHandle(), old_client);
  ASSERT_EQ(frame_->MDIChildCount(), 2);
  EXPECT_TRUE(IsWindowVisible(frame_->Handle()));
  for (TForm* child : {a, b}) {
    ASSERT_TRUE(child->HandleAllocated());
    EXPECT_EQ(GetParent(child->Handle()), frame_->ClientHandle());
    EXPECT_TRUE(IsWindowVisible(child->Handle()));
  }
  wchar_t text[32] = {};
  GetWindowTextW(a->Handle(), text, 32);
  EXPECT_STREQ(text, L"Planilha A");
  EXPECT_EQ(frame_->ActiveMDIChild(), b);
  EXPECT_EQ(Entries(FrameMenu()), (TEntries{L"&Arquivo", L"&Documento", L"&Janela"}));
  RECT a_now;
  GetWindowRect(a->Handle(), &a_now);
  EXPECT_EQ(a_now.right - a_now.left, a_place.right - a_place.left);
}

}  // namespace
}  // namespace fw
