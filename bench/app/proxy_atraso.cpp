#include "bench/app/proxy_atraso.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

using TRelogio = std::chrono::steady_clock;

void SemAtrasoDeEnvio(int s) {
  int um = 1;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
}

// One direction of a connection: a reader that stamps each message with
// the moment it may go on, and a writer that sends it then.
class TSentido {
 public:
  TSentido(int de, int para, std::chrono::microseconds atraso, std::atomic<int64_t>* contador)
      : de_(de), para_(para), atraso_(atraso), contador_(contador) {
    le_ = std::thread([this] { Le(); });
    escreve_ = std::thread([this] { Escreve(); });
  }
  ~TSentido() {
    le_.join();
    escreve_.join();
  }

 private:
  struct TMensagem {
    TRelogio::time_point quando;
    std::string bytes;
  };

  void Le() {
    char buffer[65536];
    for (;;) {
      const ssize_t n = recv(de_, buffer, sizeof buffer, 0);
      std::lock_guard<std::mutex> trava(mutex_);
      if (n <= 0) {
        fim_ = true;
        sinal_.notify_all();
        return;
      }
      if (contador_ != nullptr) ++*contador_;
      fila_.push_back({TRelogio::now() + atraso_, std::string(buffer, static_cast<size_t>(n))});
      sinal_.notify_all();
    }
  }

  void Escreve() {
    std::unique_lock<std::mutex> trava(mutex_);
    for (;;) {
      sinal_.wait(trava, [this] { return fim_ || !fila_.empty(); });
      if (fila_.empty()) {
        shutdown(para_, SHUT_WR);
        return;
      }
      const TRelogio::time_point quando = fila_.front().quando;
      if (TRelogio::now() < quando) {
        trava.unlock();
        std::this_thread::sleep_until(quando);
        trava.lock();
        continue;
      }
      const std::string bytes = std::move(fila_.front().bytes);
      fila_.pop_front();
      trava.unlock();
      size_t enviados = 0;
      while (enviados < bytes.size()) {
        const ssize_t n =
            send(para_, bytes.data() + enviados, bytes.size() - enviados, MSG_NOSIGNAL);
        if (n <= 0) break;
        enviados += static_cast<size_t>(n);
      }
      trava.lock();
    }
  }

  int de_, para_;
  std::chrono::microseconds atraso_;
  std::atomic<int64_t>* contador_;
  std::mutex mutex_;
  std::condition_variable sinal_;
  std::deque<TMensagem> fila_;
  bool fim_ = false;
  std::thread le_, escreve_;
};

}  // namespace

struct TProxyAtraso::TConexao {
  TConexao(int cliente, int servidor, std::chrono::microseconds atraso,
           std::atomic<int64_t>* contador)
      : cliente(cliente),
        servidor(servidor),
        ida(cliente, servidor, atraso, contador),
        volta(servidor, cliente, atraso, nullptr) {}
  ~TConexao() = default;
  // Ends both directions: their reads return.
  static void Fecha(int cliente, int servidor) {
    shutdown(cliente, SHUT_RDWR);
    shutdown(servidor, SHUT_RDWR);
  }
  int cliente, servidor;
  TSentido ida, volta;
};

TProxyAtraso::TProxyAtraso(int porta_destino, double ida_e_volta_ms)
    : destino_(porta_destino), atraso_ms_(ida_e_volta_ms / 2) {
  escuta_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t tamanho = sizeof endereco;
  if (escuta_ < 0 || bind(escuta_, reinterpret_cast<sockaddr*>(&endereco), tamanho) != 0 ||
      listen(escuta_, 16) != 0 ||
      getsockname(escuta_, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
    throw std::runtime_error("proxy: no listening socket");
  }
  porta_ = ntohs(endereco.sin_port);
  aceita_ = std::thread([this] { Aceita(); });
}

void TProxyAtraso::Aceita() {
  const auto atraso = std::chrono::microseconds(static_cast<int64_t>(atraso_ms_ * 1000));
  for (;;) {
    const int cliente = accept(escuta_, nullptr, nullptr);
    if (cliente < 0 || parar_) {
      if (cliente >= 0) close(cliente);
      return;
    }
    const int servidor = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    endereco.sin_port = htons(static_cast<uint16_t>(destino_));
    if (connect(servidor, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0) {
      close(cliente);
      close(servidor);
      continue;
    }
    SemAtrasoDeEnvio(cliente);
    SemAtrasoDeEnvio(servidor);
    std::lock_guard<std::mutex> trava(mutex_);
    conexoes_.push_back(std::make_unique<TConexao>(cliente, servidor, atraso, &mensagens_));
  }
}

TProxyAtraso::~TProxyAtraso() {
  parar_ = true;
  shutdown(escuta_, SHUT_RDWR);
  close(escuta_);
  aceita_.join();
  std::lock_guard<std::mutex> trava(mutex_);
  for (auto& c : conexoes_)
    TConexao::Fecha(c->cliente, c->servidor);
  for (auto& c : conexoes_) {
    const int cliente = c->cliente, servidor = c->servidor;
    c.reset();
    close(cliente);
    close(servidor);
  }
}

}  // namespace bench
