// The run's row text and gauge reach the controls at a bounded rate, and in
// full at a loop's last row and whenever they are flushed.
#include "app/win/progresso_janela.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class ProgressoJanelaTest : public ::testing::Test {
 protected:
  // Controls without windows: their state is what a paint would show.
  std::unique_ptr<fw::TStatusBar> status_ = std::make_unique<fw::TStatusBar>(nullptr);
  std::unique_ptr<fw::TGauge> barra_ = std::make_unique<fw::TGauge>(nullptr);
  int64_t agora_ = 1000;
  TProgressoJanela progresso_{status_.get(), barra_.get(), 40, [this] { return agora_; }, 5};

  void Linha(int64_t r, int64_t n) {
    progresso_.Status(L"Processando Registro " + std::to_wstring(r) + L" de " + std::to_wstring(n));
    progresso_.Barra(r, n);
  }
  std::wstring Texto() const { return status_->SimpleText(); }
};

TEST_F(ProgressoJanelaTest, RowsReachTheControlsOncePerIntervalAndTheLastAtOnce) {
  Linha(1, 10);  // the first report is shown at once
  EXPECT_EQ(Texto(), L"Processando Registro 1 de 10");
  EXPECT_EQ(barra_->MaxValue(), 10);
  EXPECT_EQ(barra_->Progress(), 1);

  agora_ += 39;
  Linha(2, 10);
  Linha(3, 10);
  EXPECT_EQ(Texto(), L"Processando Registro 1 de 10");
  EXPECT_EQ(barra_->Progress(), 1);

  agora_ += 1;  // 40 ms after the first: the latest values go
  Linha(4, 10);
  EXPECT_EQ(Texto(), L"Processando Registro 4 de 10");
  EXPECT_EQ(barra_->Progress(), 4);

  agora_ += 1;
  for (int r = 5; r <= 9; ++r)
    Linha(r, 10);
  EXPECT_EQ(barra_->Progress(), 4);
  Linha(10, 10);  // the loop's last row, within the interval
  EXPECT_EQ(Texto(), L"Processando Registro 10 de 10");
  EXPECT_EQ(barra_->Progress(), 10);
  EXPECT_EQ(barra_->PercentDone(), 100);
}

TEST_F(ProgressoJanelaTest, FlushShowsWhatIsPendingAndKeepsTheRest) {
  Linha(1, 300);
  agora_ += 1;
  // The end of a stage: text and gauge cleared, within the interval.
  progresso_.Status(L"");
  progresso_.Barra(0, 300);
  EXPECT_EQ(Texto(), L"Processando Registro 1 de 300");
  progresso_.Descarrega();
  EXPECT_EQ(Texto(), L"");
  EXPECT_EQ(barra_->Progress(), 0);
  EXPECT_EQ(barra_->MaxValue(), 300);

  // Nothing pending: a flush changes nothing.
  status_->SetSimpleText(L"outro");
  progresso_.Descarrega();
  EXPECT_EQ(Texto(), L"outro");

  // A larger maximum is set before the progress, so it is not cut.
  progresso_.Barra(150, 200);
  progresso_.Barra(250, 400);
  progresso_.Descarrega();
  EXPECT_EQ(barra_->MaxValue(), 400);
  EXPECT_EQ(barra_->Progress(), 250);
}

TEST_F(ProgressoJanelaTest, MessagesAreHandledAtMostOncePerFewMilliseconds) {
  EXPECT_TRUE(progresso_.HoraDeMensagens());
  EXPECT_FALSE(progresso_.HoraDeMensagens());
  agora_ += 4;
  EXPECT_FALSE(progresso_.HoraDeMensagens());
  agora_ += 1;
  EXPECT_TRUE(progresso_.HoraDeMensagens());
  EXPECT_FALSE(progresso_.HoraDeMensagens());
  agora_ += 1000;
  EXPECT_TRUE(progresso_.HoraDeMensagens());
}

}  // namespace
