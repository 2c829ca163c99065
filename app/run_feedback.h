// TRunFeedback: how a run shows its progress and its outcome. The window
// fills the callbacks with its phase label (lblAguarde), its status bar text
// (stbStatus), its gauge (Barra), a message pump and its message boxes; the
// command-line tool and the tests fill what they need. An empty callback is
// skipped. All of them are called in the thread that runs the import or the
// update.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace app {

struct TRunFeedback {
  std::function<void(const std::string&)> Fase;    // phase label caption
  std::function<void(const std::string&)> Status;  // status bar simple text
  // The gauge after a change: progress (held between 0 and maximum) and maximum.
  std::function<void(int64_t progress, int64_t maximum)> Barra;
  std::function<void()> ProcessaMensagens;             // handle pending window messages
  std::function<void(const std::string&)> Informacao;  // information box ("Information")
  std::function<void(const std::string&)> Erro;        // error box ("Error")
};

// "Processando Registro 7 de 250"
std::string TextoProgresso(int64_t row, int64_t count);

}  // namespace app
