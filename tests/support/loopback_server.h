#pragma once

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

namespace zedade::testing {

// A real HTTP server on 127.0.0.1 with an ephemeral port, serving on its own thread for the
// lifetime of the object. Register routes on server() before calling start().
class LoopbackServer {
 public:
  // Idle keep-alive connections (a browser keeps them) would hold stop() for the default 5 s.
  LoopbackServer() { m_server.set_keep_alive_timeout(1); }
  ~LoopbackServer() { stop(); }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  httplib::Server& server() { return m_server; }

  void start() {
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // The socket listens from bind on; wait for the accept loop too, so that stop() finds it.
    while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  void stop() {
    if (!m_thread.joinable()) return;
    m_server.stop();
    m_thread.join();
  }

  int port() const { return m_port; }
  std::string hostPort() const { return "127.0.0.1:" + std::to_string(m_port); }
  std::string url(const std::string& path) const { return "http://" + hostPort() + path; }

 private:
  httplib::Server m_server;
  std::thread m_thread;
  int m_port = 0;
};

}  // namespace zedade::testing
