// A forwarding TCP proxy on the loopback that holds every message it passes
// for half a round trip in each direction, so that a client talking to a
// server on this machine sees the latency of a distant one (a VPN).
//
//   bench::TProxyAtraso proxy(3050, 20.0);     // to 127.0.0.1:3050, 20 ms round trip
//   std::string banco = "localhost/" + std::to_string(proxy.Porta()) + ":/dados/v.fdb";
//   proxy.Mensagens();                         // client-to-server messages so far
//
// A message is what one read of the socket returns. Bandwidth is not
// limited; messages keep their order. Stopped (its connections closed) when
// destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace bench {

class TProxyAtraso {
 public:
  TProxyAtraso(int porta_destino, double ida_e_volta_ms);
  ~TProxyAtraso();
  TProxyAtraso(const TProxyAtraso&) = delete;
  TProxyAtraso& operator=(const TProxyAtraso&) = delete;

  int Porta() const { return porta_; }
  int64_t Mensagens() const { return mensagens_.load(); }

 private:
  struct TConexao;
  void Aceita();

  int destino_;
  double atraso_ms_;  // each way
  int escuta_ = -1;
  int porta_ = 0;
  std::atomic<bool> parar_{false};
  std::atomic<int64_t> mensagens_{0};
  std::thread aceita_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<TConexao>> conexoes_;
};

}  // namespace bench
