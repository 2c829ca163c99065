// TProgressoJanela: a run's progress as the main window shows it, in its
// status bar (the row text) and its gauge. The import and the update report
// every row; painting both controls for each row costs far more than the row
// itself, so the latest text and gauge values are kept and handed to the
// controls at most once per interval, at once for a loop's last row (progress
// equal to the maximum) and whenever Descarrega is called (before a message
// box or a phase change, and when a run ends).
//
// Asking the window system for pending messages costs about as much as a
// row too (a round trip to the display server under Wine), even when none
// are waiting: HoraDeMensagens lets the per-row message pump run at most
// once per few milliseconds, which keeps the window just as responsive.
//
//   TProgressoJanela p(stbStatus, Barra);
//   p.Status(L"Processando Registro 7 de 250");
//   p.Barra(7, 250);
//   p.Descarrega();  // the controls show the last values
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/comctrls.h"
#include "framework/gauges.h"

class TProgressoJanela {
 public:
  // Milliseconds of a steady clock.
  using TRelogio = std::function<int64_t()>;
  static constexpr int64_t kIntervaloMs = 40;
  static constexpr int64_t kIntervaloMensagensMs = 5;

  TProgressoJanela(fw::TStatusBar* status, fw::TGauge* barra, int64_t intervalo_ms = kIntervaloMs,
                   TRelogio relogio = {}, int64_t intervalo_mensagens_ms = kIntervaloMensagensMs);

  // Kept until the next gauge report or flush.
  void Status(const std::wstring& texto);
  // Progress held between 0 and the maximum. Closes a row's report: hands
  // text and gauge to the controls when the interval has passed or the
  // progress reached the maximum.
  void Barra(int64_t progresso, int64_t maximo);
  // Hands what is pending to the controls.
  void Descarrega();
  // True when the pending window messages should be handled now: the first
  // time, then once the interval has passed since the last true.
  bool HoraDeMensagens();

 private:
  void TalvezDescarregue();

  fw::TStatusBar* status_;
  fw::TGauge* barra_;
  int64_t intervalo_ms_;
  TRelogio relogio_;
  std::optional<std::wstring> texto_;
  std::optional<std::pair<int64_t, int64_t>> barra_pendente_;
  std::optional<int64_t> ultima_entrega_;
  int64_t intervalo_mensagens_ms_;
  std::optional<int64_t> ultimas_mensagens_;
};
