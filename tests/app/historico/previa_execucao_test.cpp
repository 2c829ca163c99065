// The preview of a run: its counts on a small worksheet with what goes
// wrong in real ones (codes of no client, codes staged twice, empty codes
// and addresses, codes too long, addresses that are not addresses), and
// that it writes nothing.
#include "app/previa_execucao.h"

#include <gtest/gtest.h>

#include "tests/app/app_test_support.h"

namespace {

using app_test::Exec;
using app_test::Select;

TEST(PreviaDaExecucao, CountsWhatARunWouldDoAndWritesNothing) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("previa");
  const std::string path = dir.File("v.fdb");
  app_test::CreateClientes(lib, path, 10);
  auto db = app_test::Attach(lib, path);
  Exec(*db, "UPDATE CLIENTE SET EMAIL = NULL WHERE CODCLIENTE = '00000003'");
  Exec(*db, "UPDATE CLIENTE SET EMAIL = '' WHERE CODCLIENTE = '00000004'");
  const auto antes = Select(*db, "SELECT CODCLIENTE, EMAIL FROM CLIENTE ORDER BY 1");
  app::TTabelaTemp t = app_test::Staged({
      {"CODIGO", "EMAIL"},         // 1: a header row, client 00CODIGO
      {"1", "um@x"},               // 2: changes
      {"2", "old2@x"},             // 3: unchanged
      {"3", ""},                   // 4: null made empty
      {"4", ""},                   // 5: empty stays empty
      {"5", "cinco@x"},            // 6: changes...
      {"5", "cinco-b@x"},          // 7: ...and again: the last row wins
      {"6", "seis@x"},             // 8
      {"6", "seis@x"},             // 9: the same address twice is no conflict
      {"77", "sete"},              // 10: no such client
      {"7", "a b@x"},              // 11: spaces
      {"8", "a@@x"},               // 12: two @
      {"", ""},                    // 13: a blank row: client 00000000
      {"000000009", "nove@x"},     // 14: nine characters, sent as 00000000
      {"9", std::string(61, 'n')}  // 15: no @, cut to 60
  });
  app::TIBTransaction tr(*db);
  tr.SetReadOnly(true);
  const app::TPrevia p = app::PreviaDaExecucao(*db, tr, t);
  EXPECT_FALSE(tr.InTransaction());
  EXPECT_EQ(Select(*db, "SELECT CODCLIENTE, EMAIL FROM CLIENTE ORDER BY 1"), antes);

  EXPECT_EQ(p.Linhas, 15);
  EXPECT_EQ(p.CodigosEncontrados, 9);
  EXPECT_EQ(p.LinhasComCliente, 11);
  ASSERT_EQ(p.NaoEncontrados.size(), 3u);
  EXPECT_EQ(p.NaoEncontrados[0].Codigo, "00CODIGO");
  EXPECT_EQ(p.NaoEncontrados[2].Codigo, "00000000");
  EXPECT_EQ(p.NaoEncontrados[2].Linhas, (std::vector<int64_t>{13, 14}));
  EXPECT_EQ(p.Alteram, 7);
  EXPECT_EQ(p.Mantem, 3);
  EXPECT_EQ(p.Esvaziam, 1);
  // Codes with different addresses in different rows: 5, and the blank row
  // with the cut code (both client 00000000).
  ASSERT_EQ(p.Repetidos.size(), 2u);
  EXPECT_EQ(p.Repetidos[0].Codigo, "00000005");
  EXPECT_EQ(p.Detalhe[13].Codigo, "00000000");
  EXPECT_TRUE(p.Detalhe[12].CodigoVazio);
  EXPECT_TRUE(p.Detalhe[13].CodigoCortado);
  EXPECT_EQ(p.Detalhe[10].EnderecoSuspeito, "com espaços");
  EXPECT_EQ(p.Detalhe[11].EnderecoSuspeito, "com mais de um @");
  EXPECT_EQ(p.Detalhe[14].EnderecoSuspeito, "sem @");
  EXPECT_TRUE(p.Detalhe[14].EnderecoCortado);

  const std::string texto = app::TextoDaPrevia(p);
  for (const char* linha : {
           "linhas lidas: 15\n",
           "códigos encontrados em CLIENTE: 9 (em 11 linhas)\n",
           "códigos não encontrados: 3\n  00CODIGO: linha 1\n",
           "  00000000: linhas 13, 14\n",
           "linhas que alterariam o endereço: 7\n",
           "linhas que deixariam o endereço vazio: 1\n",
           "  00000005: linha 6 \"cinco@x\", linha 7 \"cinco-b@x\"\n",
           "linhas com o código vazio (enviadas como cliente 00000000): 1\n",
           "códigos com mais de 8 caracteres (enviados cortados aos 8 primeiros): 1\n",
           "endereços que não parecem de e-mail (aviso): 3\n",
       }) {
    EXPECT_NE(texto.find(linha), std::string::npos) << linha << "\n" << texto;
  }
  const std::string detalhe = app::DetalheDaPrevia(p);
  EXPECT_NE(detalhe.find("\n4\t3\t00000003\tencontrado\t\\N\t\tesvazia\t\n"), std::string::npos)
      << detalhe;
  EXPECT_NE(detalhe.find("\n14\t000000009\t00000000\tinexistente\t\tnove@x\tsem-cliente\t"
                         "codigo-cortado\n"),
            std::string::npos)
      << detalhe;
}

}  // namespace
