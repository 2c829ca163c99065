// The main window driven as an operator would: real clicks and keys, the
// message boxes and the file dialog answered through their own controls.
#include "app/win/principal.h"

#include "app/errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "framework/strings.h"
#include "tests/app/win/main_window_fixture.h"
#include "tests/app/win/ui_driver.h"

namespace {

// The window with the run's stages replaced: the import waits (handling
// messages once in a while, as the real one does per row) until the test
// lets it go, the update does nothing, and the transaction state is the
// test's.
class TFPrincipalTeste : public TFPrincipal {
 public:
  using TFPrincipal::TFPrincipal;
  static inline std::atomic<bool> importando{false};
  static inline std::atomic<bool> liberar{false};
  static inline std::atomic<bool> falhar{false};
  static inline std::atomic<bool> em_transacao{false};
  static inline std::atomic<bool> janela_perdida{false};
  static inline std::atomic<bool> importacao_real{false};

 protected:
  void ImportaPlanilha() override {
    if (importacao_real) {
      TFPrincipal::ImportaPlanilha();
      return;
    }
    HWND self = Handle();
    importando = true;
    while (!liberar) {
      fw::Application()->ProcessMessages();
      if (!IsWindow(self) || FPrincipal != this) janela_perdida = true;
      Sleep(10);
    }
    importando = false;
    if (falhar) throw app::EPlanilhaError("Falha simulada na importação");
  }
  void AtualizaEmails() override {}
  bool EmTransacao() const override { return em_transacao; }
};

struct THandles {
  HWND form, btabrir, bt_abrir_vortana, bt_ok, bt_sair, combo, combo_edit, edt_origem, edt_vortana,
      edt_linha, panel2, panel3;
};

using app_test::FixtureWinePath;

class PrincipalTest : public app_test::MainWindowTest {
 protected:
  void SetUp() override {
    TFPrincipalTeste::importando = false;
    TFPrincipalTeste::liberar = false;
    TFPrincipalTeste::falhar = false;
    TFPrincipalTeste::em_transacao = false;
    TFPrincipalTeste::janela_perdida = false;
    TFPrincipalTeste::importacao_real = false;
    form_ = CreateMainWindow<TFPrincipalTeste>();
    h_ = THandles{form_->Handle(),
                  form_->Btabrir->Handle(),
                  form_->btAbrirVortana->Handle(),
                  form_->btOK->Handle(),
                  form_->btSair->Handle(),
                  form_->MostraPlanilha->Handle(),
                  form_->MostraPlanilha->EditHandle(),
                  form_->edtCaminhoOrigem->Handle(),
                  form_->edtCaminhoVortana->Handle(),
                  form_->edtNumLinha->Handle(),
                  form_->Panel2->Handle(),
                  form_->Panel3->Handle()};
  }

  // Driver side: the focused window, read from the window's thread.
  HWND Focus() const { return ui::Focus(thread_); }

  // Driver side: clicks a button and answers the message box that follows;
  // returns its title and message.
  std::pair<std::wstring, std::wstring> ClickAndReadBox(HWND button) {
    ui::Click(button);
    return ReadBox();
  }

  // Driver side: chooses a file in the workbook dialog (empty: cancels).
  void ChooseWorkbook(const std::wstring& path) { ChooseFile(h_.btabrir, path); }

  void ExpectInputEnabled(bool enabled) {
    for (HWND w : {h_.btabrir, h_.bt_abrir_vortana, h_.bt_ok, h_.bt_sair, h_.combo, h_.edt_linha}) {
      EXPECT_EQ(IsWindowEnabled(w) != FALSE, enabled);
    }
    EXPECT_FALSE(IsWindowEnabled(h_.edt_origem));
    EXPECT_FALSE(IsWindowEnabled(h_.edt_vortana));
  }

  TFPrincipalTeste* form_ = nullptr;
  THandles h_{};
};

TEST_F(PrincipalTest, OpensAsStoredWithTheFocusOnTheWorkbookButton) {
  wchar_t caption[64] = {};
  GetWindowTextW(h_.form, caption, 64);
  EXPECT_STREQ(caption, L"Lumeira - Quennor");
  LONG style = GetWindowLongW(h_.form, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  RECT client{};
  GetClientRect(h_.form, &client);
  EXPECT_EQ(client.right, 584);
  EXPECT_EQ(client.bottom, 279);
  RECT window{};
  GetWindowRect(h_.form, &window);
  EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  EXPECT_EQ(GetFocus(), h_.btabrir);
  ExpectInputEnabled(true);
  EXPECT_EQ(SendMessageW(h_.edt_linha, EM_GETLIMITTEXT, 0, 0), 9);
  // Positions relative to the parent, and Panel3 above Panel2.
  struct {
    HWND wnd;
    RECT expected;
  } positions[] = {{h_.btabrir, {525, 57, 577, 82}},  {h_.bt_ok, {351, 91, 493, 121}},
                   {h_.bt_sair, {504, 91, 582, 121}}, {h_.edt_linha, {266, 84, 341, 103}},
                   {h_.edt_origem, {5, 60, 410, 79}}, {h_.panel3, {0, 210, 584, 260}}};
  for (const auto& p : positions) {
    RECT r{};
    GetWindowRect(p.wnd, &r);
    MapWindowPoints(nullptr, GetParent(p.wnd), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, p.expected.left);
    EXPECT_EQ(r.top, p.expected.top);
    EXPECT_EQ(r.right, p.expected.right);
    EXPECT_EQ(r.bottom, p.expected.bottom);
  }
  bool panel3_above = false;
  for (HWND w = GetWindow(h_.form, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == h_.panel3) panel3_above = true;
    if (w == h_.panel2) break;
  }
  EXPECT_TRUE(panel3_above);

  // Tab walks the input controls in their stored order, skipping the two
  // disabled path boxes, and comes back round.
  Drive([&] {
    std::vector<HWND> order = {h_.combo_edit,       h_.bt_ok,     h_.bt_sair,
                               h_.bt_abrir_vortana, h_.edt_linha, h_.btabrir};
    for (HWND expected : order) {
      ui::Key(VK_TAB);
      EXPECT_TRUE(ui::WaitFor([&] { return Focus() == expected; }, 3000));
    }
    ui::Key(VK_TAB, VK_SHIFT);
    EXPECT_TRUE(ui::WaitFor([&] { return Focus() == h_.edt_linha; }, 3000));
  });
}

TEST_F(PrincipalTest, KeyFiltersOfTheRowNumberAndTheWorksheetBox) {
  Drive([&] {
    ui::Click(h_.edt_linha);
    ASSERT_TRUE(ui::WaitFor([&] { return Focus() == h_.edt_linha; }));
    ui::Type(L"12a -3");
    EXPECT_EQ(ui::Text(h_.edt_linha), L"123");
    ui::Key(VK_BACK);
    EXPECT_EQ(ui::Text(h_.edt_linha), L"12");
    ui::Type(L"3456789012");  // the tenth character is refused
    EXPECT_EQ(ui::Text(h_.edt_linha), L"123456789");
    ui::Click(h_.combo_edit);
    ASSERT_TRUE(ui::WaitFor([&] { return Focus() == h_.combo_edit; }));
    ui::Type(L"abc 1");
    EXPECT_EQ(ui::Text(h_.combo), L"");
  });
}

TEST_F(PrincipalTest, EachMissingEntryHasItsOwnWarningAndDisablesNothing) {
  const std::wstring linha =
      L"Favor informar o numero da linha onde o \u00faltimo registro se "
      L"encontra na planilha";
  Drive([&] {
    auto box = ClickAndReadBox(h_.bt_ok);
    EXPECT_EQ(box.first, L"Warning");
    EXPECT_EQ(box.second, linha);
    EXPECT_TRUE(ui::WaitFor([&] { return Focus() == h_.edt_linha; }));
    ExpectInputEnabled(true);

    ui::Type(L"5");
    box = ClickAndReadBox(h_.bt_ok);
    EXPECT_EQ(box.first, L"Warning");
    EXPECT_EQ(box.second, L"Favor informar o caminho do arquivo a ser convertido!");
    EXPECT_TRUE(ui::WaitFor([&] { return Focus() == h_.btabrir; }));
    ExpectInputEnabled(true);

    // A file that is no workbook: the error box, the path stays, the list is
    // empty, the row number keeps its text.
    ChooseWorkbook(FixtureWinePath("nao_planilha.xlsx"));
    HWND error = nullptr;
    ASSERT_TRUE(ui::WaitFor([&] { return (error = ui::FindDialog(thread_, L"")) != nullptr; }));
    Sleep(100);
    EXPECT_EQ(ui::Text(error), fw::Application()->Title());
    EXPECT_FALSE(ui::DialogMessage(error).empty());
    ui::Click(GetDlgItem(error, IDOK));
    ASSERT_TRUE(ui::WaitFor([&] { return !IsWindow(error); }));
    EXPECT_EQ(ui::Text(h_.edt_origem), FixtureWinePath("nao_planilha.xlsx"));
    EXPECT_EQ(SendMessageW(h_.combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(ui::Text(h_.edt_linha), L"5");

    box = ClickAndReadBox(h_.bt_ok);
    EXPECT_EQ(box.first, L"Warning");
    EXPECT_EQ(box.second, L"Favor selecionar uma planilha para ser convertida!");
    EXPECT_TRUE(ui::WaitFor([&] { return Focus() == h_.combo_edit; }));
    ExpectInputEnabled(true);
  });
}

TEST_F(PrincipalTest, ChoosingAWorkbookListsItsSheetsAndCancellingEmptiesOnlyThePath) {
  Drive([&] {
    ChooseWorkbook(FixtureWinePath("xlwt.xls"));
    EXPECT_TRUE(ui::WaitFor([&] { return ui::Text(h_.edt_linha) == L"10"; }));
    EXPECT_EQ(ui::Text(h_.edt_origem), FixtureWinePath("xlwt.xls"));
    EXPECT_EQ(ui::ComboItems(h_.combo),
              (std::vector<std::wstring>{L"Clientes", L"Dados", L"Resumo"}));
    EXPECT_EQ(SendMessageW(h_.combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ui::Text(h_.combo), L"Clientes");

    ChooseWorkbook(L"");
    EXPECT_TRUE(ui::WaitFor([&] { return ui::Text(h_.edt_origem).empty(); }));
    EXPECT_EQ(ui::ComboItems(h_.combo).size(), 3u);
    EXPECT_EQ(ui::Text(h_.edt_linha), L"10");
    auto box = ClickAndReadBox(h_.bt_ok);
    EXPECT_EQ(box.second, L"Favor informar o caminho do arquivo a ser convertido!");
  });
}

TEST_F(PrincipalTest, AcceleratorsAndEnterPressTheirButtons) {
  Drive([&] {
    // Alt+E presses "&Efetuar Atualização": its first check answers.
    ui::Key('E', VK_MENU);
    HWND box = nullptr;
    ASSERT_TRUE(
        ui::WaitFor([&] { return (box = ui::FindDialog(thread_, L"Warning")) != nullptr; }));
    Sleep(100);
    ui::Click(GetDlgItem(box, IDOK));
    ASSERT_TRUE(ui::WaitFor([&] { return !IsWindow(box); }));
    ASSERT_TRUE(ui::WaitFor([&] { return Focus() == h_.edt_linha; }));
    // Enter presses the focused button: the workbook dialog opens.
    ui::Key(VK_TAB);
    ASSERT_TRUE(ui::WaitFor([&] { return Focus() == h_.btabrir; }));
    ui::Key(VK_RETURN);
    HWND dlg = nullptr;
    ASSERT_TRUE(ui::WaitFor([&] { return (dlg = ui::FindDialog(thread_, L"")) != nullptr; }));
    Sleep(300);
    ui::Click(GetDlgItem(dlg, IDCANCEL));
    EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(dlg); }));
  });
}

TEST_F(PrincipalTest, EscapeClosesOnlyOutsideATransaction) {
  Drive([&] {
    TFPrincipalTeste::em_transacao = true;
    ui::Key(VK_ESCAPE);
    Sleep(300);
    EXPECT_TRUE(IsWindow(h_.form));
    TFPrincipalTeste::em_transacao = false;
    ui::Key(VK_ESCAPE);
    EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(h_.form); }));
  });
  EXPECT_EQ(FPrincipal, nullptr);
  EXPECT_TRUE(app_->Terminated());
}

TEST_F(PrincipalTest, ExitButtonClosesTheWindow) {
  Drive([&] {
    ui::Click(h_.bt_sair);
    EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(h_.form); }));
  });
  EXPECT_TRUE(app_->Terminated());
}

// Readies a run (workbook, worksheet, row number) and starts it.
void StartRun(PrincipalTest& t, const THandles& h,
              const std::function<void(const std::wstring&)>& choose) {
  choose(FixtureWinePath("xlwt.xls"));
  ASSERT_TRUE(ui::WaitFor([&] { return ui::Text(h.edt_linha) == L"10"; }));
  ui::Click(h.bt_ok);
  ASSERT_TRUE(ui::WaitFor([] { return TFPrincipalTeste::importando.load(); }));
  (void)t;
}

TEST_F(PrincipalTest, CloseRequestsDuringARunWaitForItsEnd) {
  Drive([&] {
    StartRun(*this, h_, [&](const std::wstring& p) { ChooseWorkbook(p); });
    // Alt+F4, Escape (no transaction yet) and the system menu's Close.
    ui::Key(VK_F4, VK_MENU);
    ui::Key(VK_ESCAPE);
    PostMessageW(h_.form, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(400);
    EXPECT_TRUE(IsWindow(h_.form));
    EXPECT_FALSE(IsWindowEnabled(h_.bt_ok));
    TFPrincipalTeste::liberar = true;
    EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(h_.form); }));
  });
  EXPECT_FALSE(TFPrincipalTeste::janela_perdida);
  EXPECT_TRUE(app_->Terminated());
}

TEST_F(PrincipalTest, AFailedRunReportsBeforeTheHeldCloseHappens) {
  TFPrincipalTeste::falhar = true;
  Drive([&] {
    StartRun(*this, h_, [&](const std::wstring& p) { ChooseWorkbook(p); });
    PostMessageW(h_.form, WM_CLOSE, 0, 0);
    Sleep(300);
    TFPrincipalTeste::liberar = true;
    HWND error = nullptr;
    ASSERT_TRUE(ui::WaitFor([&] { return (error = ui::FindDialog(thread_, L"")) != nullptr; }));
    Sleep(100);
    EXPECT_EQ(ui::DialogMessage(error), L"Falha simulada na importa\u00e7\u00e3o");
    EXPECT_TRUE(IsWindow(h_.form));
    ui::Click(GetDlgItem(error, IDOK));
    EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(h_.form); }));
  });
  EXPECT_FALSE(TFPrincipalTeste::janela_perdida);
}

// A formatted cell at XFD1048576 makes the used area the whole worksheet:
// the import refuses it before anything is staged, and the controls come
// back for another choice.
TEST_F(PrincipalTest, AnImportRefusedForItsSizeGivesTheControlsBack) {
  TFPrincipalTeste::importacao_real = true;
  Drive([&] {
    ChooseWorkbook(FixtureWinePath("celula_distante.xlsx"));
    ASSERT_TRUE(ui::WaitFor([&] { return ui::Text(h_.edt_linha) == L"1048576"; }));
    ui::Click(h_.bt_ok);
    HWND error = nullptr;
    ASSERT_TRUE(ui::WaitFor([&] { return (error = ui::FindDialog(thread_, L"")) != nullptr; }));
    Sleep(100);
    EXPECT_TRUE(ui::DialogMessage(error).starts_with(
        L"A planilha \u00e9 grande demais para importar: 1048576 linhas x 16384 colunas"))
        << fw::WideToUtf8(ui::DialogMessage(error));
    ui::Click(GetDlgItem(error, IDOK));
    ASSERT_TRUE(ui::WaitFor([&] { return !IsWindow(error); }));
    EXPECT_TRUE(ui::WaitFor([&] { return IsWindowEnabled(h_.edt_linha) != FALSE; }));
    ExpectInputEnabled(true);
  });
}

TEST_F(PrincipalTest, WithoutACloseRequestARunEndsWithTheControlsEnabled) {
  Drive([&] {
    StartRun(*this, h_, [&](const std::wstring& p) { ChooseWorkbook(p); });
    ExpectInputEnabled(false);
    TFPrincipalTeste::liberar = true;
    // edtNumLinha is the last of the six to be enabled again.
    EXPECT_TRUE(ui::WaitFor([&] { return IsWindowEnabled(h_.edt_linha) != FALSE; }));
    ExpectInputEnabled(true);
    EXPECT_TRUE(IsWindow(h_.form));
  });
}

}  // namespace
