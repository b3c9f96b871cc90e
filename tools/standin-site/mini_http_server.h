#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace standin {

// A small HTTP/1.1 server for the stand-in site. It takes request targets as browsers send them,
// a play address's second "?" included (a page address carried whole in the query), answers one
// request per connection, and serves single byte ranges.
class MiniHttpServer {
 public:
  struct Request {
    std::string method;
    std::string target;  // as sent
    std::string path;    // the target up to its first "?"
    std::string query;   // after the first "?", undecoded
    std::map<std::string, std::string> headers;  // names in lower case
  };
  struct Response {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    bool acceptRanges = false;  // serve "Range: bytes=a-b" of the body
  };
  // Returns false when the request is not for it; the next handler is asked.
  using Handler = std::function<bool(const Request&, Response&)>;

  MiniHttpServer();
  ~MiniHttpServer();
  MiniHttpServer(const MiniHttpServer&) = delete;
  MiniHttpServer& operator=(const MiniHttpServer&) = delete;

  void handle(Handler handler) { m_handlers.push_back(std::move(handler)); }
  void setLogger(std::function<void(const Request&)> logger) { m_logger = std::move(logger); }

  // Listens on 127.0.0.1; port 0 takes a free one. Returns the port, or -1.
  int listen(int port);
  void serve();  // accepts until stop()
  void start();  // serve() on a thread of its own
  void stop();
  void requestStop() { m_stopping = true; }  // safe from a signal handler: serve() returns soon
  int port() const { return m_port; }

 private:
  void handleConnection(int socket);

  std::vector<Handler> m_handlers;
  std::function<void(const Request&)> m_logger;
  int m_listener = -1;
  int m_port = 0;
  std::atomic<bool> m_stopping{false};
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_idle;
  int m_activeConnections = 0;
};

// Decodes %XX escapes (and "+" as a space when asked).
std::string DecodeUrl(const std::string& text, bool plusAsSpace = false);

}  // namespace standin
