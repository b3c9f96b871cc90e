#pragma once

#include <httplib.h>

#include <string>
#include <thread>

namespace zedade::testing {

// A real HTTP server on 127.0.0.1 with an ephemeral port, serving on its own thread for the
// lifetime of the object. Register routes on server() before calling start().
class LoopbackServer {
 public:
  LoopbackServer() = default;
  ~LoopbackServer() { stop(); }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  httplib::Server& server() { return m_server; }

  void start() {
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    m_server.wait_until_ready();
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
