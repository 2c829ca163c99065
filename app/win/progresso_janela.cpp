#include "app/win/progresso_janela.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace {

int64_t AgoraMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int32_t Limita(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

TProgressoJanela::TProgressoJanela(fw::TStatusBar* status, fw::TGauge* barra, int64_t intervalo_ms,
                                   TRelogio relogio, int64_t intervalo_mensagens_ms)
    : status_(status),
      barra_(barra),
      intervalo_ms_(intervalo_ms),
      relogio_(relogio ? std::move(relogio) : TRelogio(AgoraMs)),
      intervalo_mensagens_ms_(intervalo_mensagens_ms) {}

bool TProgressoJanela::HoraDeMensagens() {
  const int64_t agora = relogio_();
  if (ultimas_mensagens_ && agora - *ultimas_mensagens_ < intervalo_mensagens_ms_) return false;
  ultimas_mensagens_ = agora;
  return true;
}

// A row is reported as its text, then its gauge: the gauge closes the row,
// so text and gauge always reach the controls together.
void TProgressoJanela::Status(const std::wstring& texto) {
  texto_ = texto;
}

void TProgressoJanela::Barra(int64_t progresso, int64_t maximo) {
  barra_pendente_ = {progresso, maximo};
  // The last row of a loop is shown at once: the loop may end without
  // another report.
  if (progresso >= maximo) {
    Descarrega();
  } else {
    TalvezDescarregue();
  }
}

void TProgressoJanela::TalvezDescarregue() {
  if (!ultima_entrega_ || relogio_() - *ultima_entrega_ >= intervalo_ms_) Descarrega();
}

void TProgressoJanela::Descarrega() {
  ultima_entrega_ = relogio_();
  if (texto_) {
    if (status_ != nullptr && status_->SimpleText() != *texto_) status_->SetSimpleText(*texto_);
    texto_.reset();
  }
  if (barra_pendente_) {
    if (barra_ != nullptr) {
      // The maximum first, so the new progress is never cut to the old one.
      barra_->SetMaxValue(Limita(barra_pendente_->second));
      barra_->SetProgress(Limita(barra_pendente_->first));
    }
    barra_pendente_.reset();
  }
}
