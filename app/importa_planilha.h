// ImportaPlanilha: the first stage of a run. Copies rows 1..N of the
// controller's current worksheet, columns 1..UltimaColuna, into the staging
// table, which is rebuilt with columns "1".."C" (text, 100 characters).
//
//   app::ImportaPlanilha(excel, edtNumLinha_text, cdsTabelaTemp, feedback);
//
// The rows are read from the controller as one block (LeLinhas). Feedback:
// phase "Carregando dados do Excel, aguarde!"; per row, as it arrives, the
// status "Processando Registro r de N", the message pump, then the row is
// posted and the gauge advances. Nothing is reset at the end.
//
// Errors propagate (the rows posted so far stay, a row being read is not
// posted): EConvertError "'%s' is not a valid integer value" when the row
// text is not a 32-bit integer; EImportacaoRecusada, before the table or the
// feedback is touched, when it passes the 1,048,576 rows a worksheet can
// hold or when rows x columns pass kMaxImportCells (a stray cell far out
// widens the used area); EPlanilhaError when memory runs out; any error of
// the controller.
#pragma once

#include <string_view>

#include "app/controla_excel.h"
#include "app/database/tabela_temp.h"
#include "app/run_feedback.h"

namespace app {

inline constexpr const char* kFaseImportacao = "Carregando dados do Excel, aguarde!";

// Cells the staging table takes in one import: a full worksheet of 46
// columns (1,048,576 x 46 is 48,234,496) fits; each cell costs at least
// four bytes there beside its text.
inline constexpr int64_t kMaxImportCells = 50'000'000;

void ImportaPlanilha(TDMCotrolaExcel& excel, std::string_view num_linha, TTabelaTemp& tabela,
                     const TRunFeedback& feedback);

// StrToInt: optional sign and decimal digits, within 32 bits; anything else
// throws EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view text);

}  // namespace app
