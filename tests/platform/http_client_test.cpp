#include "platform/http_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "loopback_server.h"
#include "platform/text.h"

namespace zedade {
namespace {

using Outcome = HttpResult::Outcome;

// Short limits so that failing paths end quickly; the client must honour whatever it is given.
HttpOptions ShortOptions() {
  HttpOptions options;
  options.connectTimeoutMs = 1000;
  options.stallTimeoutMs = 300;
  options.totalTimeoutMs = 10'000;
  options.maxRedirects = 10;
  return options;
}

void SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

// A TCP server on 127.0.0.1 that records the exact request bytes and answers with whatever its
// script writes to the socket: for responses an HTTP library will not send (a body shorter than
// its Content-Length, a stall mid-body). The connection is closed when the script returns.
class RawServer {
 public:
  using Script = std::function<void(int fd, RawServer& server)>;

  explicit RawServer(Script script, int backlog = 8) : m_script(std::move(script)) {
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, backlog) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "raw server could not listen";
      return;
    }
    m_port = ntohs(address.sin_port);
    if (m_script) m_thread = std::thread([this] { serve(); });
  }

  ~RawServer() {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = true;
    }
    m_stopped.notify_all();
    if (m_thread.joinable()) m_thread.join();
    ::close(m_listener);
  }

  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
  }
  int port() const { return m_port; }

  std::vector<std::string> requests() {
    std::lock_guard lock(m_mutex);
    return m_requests;
  }

  // For scripts that hold the connection open without sending: returns when the test ends.
  void holdUntilStopped() {
    std::unique_lock lock(m_mutex);
    m_stopped.wait(lock, [this] { return m_stopping; });
  }

 private:
  void serve() {
    for (;;) {
      pollfd ready{m_listener, POLLIN, 0};
      if (::poll(&ready, 1, 20) <= 0) {
        std::lock_guard lock(m_mutex);
        if (m_stopping) return;
        continue;
      }
      const int fd = ::accept(m_listener, nullptr, nullptr);
      if (fd < 0) continue;
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
      }
      {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
      }
      m_script(fd, *this);
      ::close(fd);
    }
  }

  Script m_script;
  int m_listener = -1;
  int m_port = 0;
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_stopped;
  bool m_stopping = false;
  std::vector<std::string> m_requests;
};

TEST(HttpClientTest, SendsAnHttp10GetWithTheBrowserHeadersAndNoFragment) {
  RawServer server([](int fd, RawServer&) { SendAll(fd, "HTTP/1.0 200 OK\r\n\r\nok"); });

  const HttpResult result = FetchHttp(server.url("/list?q=1&p=2#top#more"), ShortOptions());

  EXPECT_EQ(result.outcome, Outcome::Complete) << result.reason;
  EXPECT_EQ(result.body, "ok");
  ASSERT_EQ(server.requests().size(), 1u);
  const std::string request = server.requests()[0];
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /list?q=1&p=2 HTTP/1.0");
  EXPECT_NE(request.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
            std::string::npos)
      << request;
  EXPECT_NE(request.find("\r\nAccept: */*\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\r\nPragma: no-cache\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\r\nCache-Control: no-cache\r\n"), std::string::npos) << request;
  EXPECT_EQ(request.find("top"), std::string::npos) << request;
}

TEST(HttpClientTest, PercentEncodesGbkBytesAndSpacesOfTheAddress) {
  RawServer server([](int fd, RawServer&) { SendAll(fd, "HTTP/1.0 200 OK\r\n\r\nfound"); });

  const HttpResult result = FetchHttp(server.url("/search?kw=" + Gbk("电影") + " a"), ShortOptions());

  EXPECT_EQ(result.outcome, Outcome::Complete) << result.reason;
  EXPECT_EQ(result.body, "found");
  ASSERT_EQ(server.requests().size(), 1u);
  const std::string request = server.requests()[0];
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /search?kw=%B5%E7%D3%B0%20a HTTP/1.0");
}

TEST(HttpClientTest, ReturnsTheBodyOfAnErrorStatus) {
  testing::LoopbackServer server;
  server.server().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
    response.status = 404;
    response.set_content(std::string("no such page\0tail", 17), "text/html");
  });
  server.start();

  const HttpResult result = FetchHttp(server.url("/missing"), ShortOptions());
  EXPECT_EQ(result.outcome, Outcome::Complete) << result.reason;
  EXPECT_EQ(result.status, 404);
  EXPECT_EQ(result.body, std::string("no such page\0tail", 17));
  EXPECT_EQ(HttpFetch(server.url("/missing")), std::string("no such page\0tail", 17));
}

TEST(HttpClientTest, FollowsRedirectsUpToTheLimit) {
  testing::LoopbackServer server;
  httplib::Server& routes = server.server();
  routes.Get("/old", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/middle#ignored");
    response.set_content("moved", "text/plain");
  });
  routes.Get("/middle", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/new", 301);
  });
  routes.Get("/new", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("arrived", "text/plain");
  });
  routes.Get("/loop", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/loop");
  });
  server.start();

  const HttpResult followed = FetchHttp(server.url("/old"), ShortOptions());
  EXPECT_EQ(followed.outcome, Outcome::Complete) << followed.reason;
  EXPECT_EQ(followed.status, 200);
  EXPECT_EQ(followed.body, "arrived");

  HttpOptions oneHop = ShortOptions();
  oneHop.maxRedirects = 1;
  const HttpResult tooFar = FetchHttp(server.url("/old"), oneHop);
  EXPECT_EQ(tooFar.outcome, Outcome::Failed);
  EXPECT_EQ(tooFar.body, "");

  const HttpResult loop = FetchHttp(server.url("/loop"), ShortOptions());
  EXPECT_EQ(loop.outcome, Outcome::Failed);
  EXPECT_EQ(loop.reason, "too many redirects");
  EXPECT_EQ(loop.body, "");
}

TEST(HttpClientTest, BrokenTransferReturnsTheBytesReceivedSoFar) {
  const std::string part = std::string("first forty bytes\0of a longer body....", 40);
  RawServer server([&part](int fd, RawServer&) {
    SendAll(fd, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n" + part);
  });

  const HttpResult result = FetchHttp(server.url("/page"), ShortOptions());
  EXPECT_EQ(result.outcome, Outcome::Partial);
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.body, part);
}

TEST(HttpClientTest, StalledTransferEndsWithTheBytesReceivedSoFar) {
  RawServer server([](int fd, RawServer& self) {
    SendAll(fd, "HTTP/1.0 200 OK\r\n\r\nbeginning");
    self.holdUntilStopped();  // neither more bytes nor a close: only the stall limit ends it
  });

  const HttpResult result = FetchHttp(server.url("/slow"), ShortOptions());
  EXPECT_EQ(result.outcome, Outcome::Partial);
  EXPECT_EQ(result.body, "beginning");
  EXPECT_EQ(result.reason.rfind("stalled", 0), 0u) << result.reason;
}

TEST(HttpClientTest, ServerSilentAfterTheRequestGivesEmpty) {
  RawServer server([](int, RawServer& self) { self.holdUntilStopped(); });

  const HttpResult result = FetchHttp(server.url("/silent"), ShortOptions());
  EXPECT_EQ(result.outcome, Outcome::Failed);
  EXPECT_EQ(result.body, "");
  EXPECT_EQ(result.reason.rfind("stalled", 0), 0u) << result.reason;
}

TEST(HttpClientTest, ConnectTimeOutEndsAFetchToAServerThatNeverAccepts) {
  // Backlog 0 and no accept: once the queue holds a connection, further handshakes go unanswered.
  RawServer server(nullptr, 0);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(server.port()));
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fillers.push_back(fd);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));

  HttpOptions options = ShortOptions();
  options.connectTimeoutMs = 300;
  options.stallTimeoutMs = 0;  // only the connect limit may end it
  const HttpResult result = FetchHttp(server.url("/"), options);
  EXPECT_EQ(result.outcome, Outcome::Failed);
  EXPECT_EQ(result.body, "");
  EXPECT_NE(result.reason.find("timed out"), std::string::npos) << result.reason;
  for (const int fd : fillers) ::close(fd);
}

int RefusedPort() {
  // A port that was just free: nothing listens on it.
  RawServer probe(nullptr);
  return probe.port();
}

TEST(HttpClientTest, UnusableAddressesGiveAnEmptyBlock) {
  const std::string refused = "http://127.0.0.1:" + std::to_string(RefusedPort()) + "/";
  struct Case {
    const char* name;
    std::string address;
  };
  const Case cases[] = {
      {"Empty", ""},
      {"NoScheme", "127.0.0.1:" + std::to_string(RefusedPort()) + "/page"},
      {"UnsupportedScheme", "ftp://127.0.0.1/file"},
      {"OnlyAFragment", "#anchor"},
      {"RefusedPort", refused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpResult result = FetchHttp(c.address, ShortOptions());
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.body, "");
    EXPECT_FALSE(result.reason.empty());
  }
  EXPECT_EQ(HttpFetch(refused), "");
}

TEST(HttpClientTest, DefaultOptionsAreSettable) {
  const HttpOptions saved = DefaultHttpOptions();
  EXPECT_GT(saved.connectTimeoutMs, 0);
  EXPECT_GT(saved.stallTimeoutMs, 0);

  RawServer server([](int fd, RawServer& self) {
    SendAll(fd, "HTTP/1.0 200 OK\r\n\r\npart");
    self.holdUntilStopped();
  });
  SetDefaultHttpOptions(ShortOptions());
  EXPECT_EQ(HttpFetch(server.url("/")), "part");  // ended by the shortened stall limit
  SetDefaultHttpOptions(saved);
  EXPECT_EQ(DefaultHttpOptions().stallTimeoutMs, saved.stallTimeoutMs);
}

}  // namespace
}  // namespace zedade
