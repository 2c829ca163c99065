// The main window with its real database components, through the Wine bridge
// gds32.dll: choosing the database file, the transaction that holds Escape,
// and a run without an attached database.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/database/fb_client.h"
#include "app/win/principal.h"
#include "framework/strings.h"
#include "tests/app/win/main_window_fixture.h"
#include "tests/app/win/ui_driver.h"

namespace {

using app_test::WinePath;

// A database with table CLIENTE, made anew through the client library.
std::wstring NovoBanco(const std::string& nome) {
  const std::string caminho = std::string(PROJECT_BINARY_DIR) + "/tests/app/win/" + nome;
  const std::wstring win = WinePath(caminho);
  DeleteFileW(win.c_str());
  app::TIBDatabase db(app::TFbClientLibrary::Load());
  // Created under its native path: the bridge maps drive paths when it
  // attaches, not inside the creation statement.
  db.SetDatabaseName(caminho);
  db.CreateDatabase("WIN1252");
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL("CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, EMAIL VARCHAR(60))");
  q.ExecQuery();
  tr.Commit();
  return win;
}

class PrincipalBancoTest : public app_test::MainWindowTest {
 protected:
  void SetUp() override { form_ = CreateMainWindow(); }

  TFPrincipal* form_ = nullptr;
};

TEST_F(PrincipalBancoTest, ChoosingTheDatabaseConnectsReconnectsAndKeepsItOnCancel) {
  EXPECT_FALSE(form_->dbVortana->Connected());
  EXPECT_FALSE(form_->dbVortana->LoginPrompt());
  EXPECT_EQ(form_->dbVortana->UserName(), "SYSDBA");
  EXPECT_EQ(form_->dbVortana->SQLDialect(), 1);
  EXPECT_EQ(form_->dbVortana->DefaultTransaction(), form_->DBTransaction);
  EXPECT_EQ(form_->DBTransaction->DefaultDatabase(), form_->dbVortana);

  const std::wstring a = NovoBanco("banco_a.fdb"), b = NovoBanco("banco_b.fdb");
  HWND botao = form_->btAbrirVortana->Handle(), caminho = form_->edtCaminhoVortana->Handle();
  Drive([&] { ChooseFile(botao, a); });
  EXPECT_TRUE(form_->dbVortana->Connected());
  EXPECT_EQ(form_->dbVortana->DatabaseName(), a);
  EXPECT_EQ(ui::Text(caminho), a);

  // A second file: the first is let go before the second is attached.
  Drive([&] { ChooseFile(botao, b); });
  EXPECT_TRUE(form_->dbVortana->Connected());
  EXPECT_EQ(form_->dbVortana->DatabaseName(), b);

  // Cancelled: the path box empties, the connection stays on b.
  Drive([&] { ChooseFile(botao, L""); });
  EXPECT_EQ(ui::Text(caminho), L"");
  EXPECT_TRUE(form_->dbVortana->Connected());
  EXPECT_EQ(form_->dbVortana->DatabaseName(), b);

  // A file that is no database: the library's text in the default error
  // box; the path stays, the connection is closed.
  const std::wstring nao_banco =
      WinePath(std::string(PROJECT_SOURCE_DIR) + "/tests/fixtures/app/clientes.xlsx");
  std::pair<std::wstring, std::wstring> caixa;
  Drive([&] {
    ChooseFile(botao, nao_banco);
    caixa = ReadBox();
  });
  EXPECT_EQ(caixa.first, app_->Title());
  EXPECT_EQ(caixa.second,
            L"Não foi possível abrir o banco de dados \"" + nao_banco +
                L"\": o arquivo não é um banco de dados Firebird ou está danificado.");
  EXPECT_EQ(ui::Text(caminho), nao_banco);
  EXPECT_FALSE(form_->dbVortana->Connected());
  EXPECT_EQ(form_->dbVortana->DatabaseName(), nao_banco);
}

TEST_F(PrincipalBancoTest, ADatabaseWhosePathHasLettersOutsideAsciiIsAttached) {
  // "Gestão.fdb": the window sends the name as UTF-8 and says so; the bridge
  // must not read those bytes in the ANSI code page.
  const std::wstring gestao = NovoBanco("Gest\xC3\xA3o.fdb");
  ASSERT_NE(gestao.find(L"Gestão.fdb"), std::wstring::npos);
  HWND botao = form_->btAbrirVortana->Handle(), caminho = form_->edtCaminhoVortana->Handle();
  Drive([&] { ChooseFile(botao, gestao); });
  EXPECT_TRUE(form_->dbVortana->Connected());
  EXPECT_EQ(ui::Text(caminho), gestao);
  // The attached database is that file: a table made there is seen here.
  app::TIBTransaction& tr = form_->DBTransaction->Transacao();
  tr.StartTransaction();
  app::TIBSQL q(tr.Database(), tr);
  q.SetSQL("SELECT COUNT(*) FROM CLIENTE");
  EXPECT_EQ(q.SelectAll().at(0).at(0), "0");
  tr.Commit();
}

TEST_F(PrincipalBancoTest, EscapeIsRefusedWhileTheTransactionIsActive) {
  const std::wstring a = NovoBanco("banco_esc.fdb");
  HWND form = form_->Handle();
  Drive([&] { ChooseFile(form_->btAbrirVortana->Handle(), a); });
  ASSERT_TRUE(form_->dbVortana->Connected());
  form_->DBTransaction->Transacao().StartTransaction();
  Drive([&] {
    ui::Key(VK_ESCAPE);
    Sleep(300);
  });
  EXPECT_TRUE(IsWindow(form));
  form_->DBTransaction->Transacao().Commit();
  Drive([&] {
    ui::Key(VK_ESCAPE);
    EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(form); }));
  });
  EXPECT_TRUE(app_->Terminated());
}

TEST_F(PrincipalBancoTest, ARunWithoutADatabaseImportsFirstThenReportsTheClosedDatabase) {
  const std::wstring planilha =
      WinePath(std::string(PROJECT_SOURCE_DIR) + "/tests/fixtures/app/clientes.xlsx");
  std::pair<std::wstring, std::wstring> caixa;
  Drive([&] {
    ChooseFile(form_->Btabrir->Handle(), planilha);
    ui::Click(form_->btOK->Handle());
    caixa = ReadBox(60000);
  });
  EXPECT_EQ(caixa.first, L"Error");
  EXPECT_EQ(caixa.second,
            L"Houve um erro ao realizar a atualização. Motivo: \rCannot perform operation -- DB "
            L"is not open");
  EXPECT_GT(form_->cdsTabelaTemp->RecordCount(), 0);
  EXPECT_TRUE(IsWindowEnabled(form_->btOK->Handle()));
  EXPECT_EQ(form_->lblAguarde->Caption(), L"");
  EXPECT_EQ(form_->stbStatus->SimpleText(), L"");
  EXPECT_EQ(form_->Barra->Progress(), 0);
}

}  // namespace
