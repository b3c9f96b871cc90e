#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zedade::testing {

// A loopback server that answers each connection by a script of its own, for answers an HTTP
// library will not give (a size with no regard for Range, a proxy's view of a request). Every
// connection carries one request; the script writes the answer and the server closes it.
class RawHttpServer {
 public:
  using Script = std::function<void(int fd, const std::string& request)>;

  explicit RawHttpServer(Script script) : m_script(std::move(script)) {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    ::listen(m_listener, 16);
    m_acceptor = std::thread([this] { acceptLoop(); });
  }

  ~RawHttpServer() {
    ::shutdown(m_listener, SHUT_RDWR);
    m_acceptor.join();
    ::close(m_listener);
    for (std::thread& t : m_connections) t.join();
  }
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
  int port() const { return m_port; }

  std::vector<std::string> requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
  }

  static void SendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
  }

 private:
  void acceptLoop() {
    for (;;) {
      const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) return;
      std::lock_guard lock(m_mutex);
      m_connections.emplace_back([this, fd] { serve(fd); });
    }
  }

  void serve(int fd) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<size_t>(n));
    }
    {
      std::lock_guard lock(m_mutex);
      m_requests.push_back(request);
    }
    if (m_script) m_script(fd, request);
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
  }

  Script m_script;
  int m_listener = -1;
  int m_port = 0;
  std::thread m_acceptor;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_requests;
  std::vector<std::thread> m_connections;
};

}  // namespace zedade::testing
