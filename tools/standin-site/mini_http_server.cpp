#include "mini_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace standin {
namespace {

const char* reasonOf(int status) {
  switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 416: return "Range Not Satisfiable";
    default: return "Status";
  }
}

bool sendAll(int socket, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(socket, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Parses "bytes=a-b", "bytes=a-" or "bytes=-n" against a body of `size`; false when unsatisfiable.
bool parseRange(const std::string& value, size_t size, size_t& first, size_t& last) {
  if (value.rfind("bytes=", 0) != 0 || size == 0) return false;
  const std::string byteRange = value.substr(6);
  const auto dash = byteRange.find('-');
  if (dash == std::string::npos || byteRange.find(',') != std::string::npos) return false;
  const std::string a = byteRange.substr(0, dash), b = byteRange.substr(dash + 1);
  try {
    if (a.empty()) {
      const size_t n = std::stoull(b);
      if (n == 0) return false;
      first = n >= size ? 0 : size - n;
      last = size - 1;
    } else {
      first = std::stoull(a);
      last = b.empty() ? size - 1 : std::min<size_t>(std::stoull(b), size - 1);
    }
  } catch (...) {
    return false;
  }
  return first <= last && first < size;
}

}  // namespace

std::string DecodeUrl(const std::string& text, bool plusAsSpace) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else if (plusAsSpace && text[i] == '+') {
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

MiniHttpServer::MiniHttpServer() = default;

MiniHttpServer::~MiniHttpServer() { stop(); }

int MiniHttpServer::listen(int port) {
  m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
  if (m_listener < 0) return -1;
  const int yes = 1;
  ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_listener, 64) != 0) {
    ::close(m_listener);
    m_listener = -1;
    return -1;
  }
  socklen_t length = sizeof address;
  ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
  m_port = ntohs(address.sin_port);
  return m_port;
}

void MiniHttpServer::serve() {
  while (!m_stopping) {
    pollfd waiting{m_listener, POLLIN, 0};
    if (::poll(&waiting, 1, 100) <= 0) continue;
    const int socket = ::accept(m_listener, nullptr, nullptr);
    if (socket < 0) continue;
    {
      std::lock_guard lock(m_mutex);
      ++m_activeConnections;
    }
    std::thread([this, socket] {
      handleConnection(socket);
      std::lock_guard lock(m_mutex);
      if (--m_activeConnections == 0) m_idle.notify_all();
    }).detach();
  }
}

void MiniHttpServer::start() {
  m_thread = std::thread([this] { serve(); });
}

void MiniHttpServer::stop() {
  m_stopping = true;
  if (m_thread.joinable()) m_thread.join();
  {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_activeConnections == 0; });
  }
  if (m_listener >= 0) ::close(m_listener);
  m_listener = -1;
}

void MiniHttpServer::handleConnection(int socket) {
  // Read the request head, giving up after 5 s of silence or when the server stops.
  std::string head;
  char buffer[4096];
  int quietPolls = 0;
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 && !m_stopping) {
    pollfd waiting{socket, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, 100);
    if (ready < 0) break;
    if (ready == 0) {
      if (++quietPolls == 50) break;
      continue;
    }
    const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    head.append(buffer, static_cast<size_t>(got));
  }
  Request request;
  Response response;
  std::istringstream lines(head.substr(0, head.find("\r\n\r\n")));
  std::string line;
  std::getline(lines, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::istringstream requestLine(line);
  std::string version;
  requestLine >> request.method >> request.target >> version;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    request.headers[lower(line.substr(0, colon))] = value;
  }
  const auto question = request.target.find('?');
  request.path = DecodeUrl(request.target.substr(0, question));
  request.query = question == std::string::npos ? std::string() : request.target.substr(question + 1);

  bool handled = false;
  if (request.method == "GET" || request.method == "HEAD") {
    for (const Handler& handler : m_handlers) {
      if ((handled = handler(request, response))) break;
    }
  } else {
    response.status = 400;
    handled = true;
  }
  if (!handled) {
    response.status = 404;
    response.body = "<p>not found</p>";
  }
  if (m_logger) m_logger(request);

  std::string body = std::move(response.body);
  std::string extra;
  if (response.acceptRanges) {
    extra += "Accept-Ranges: bytes\r\n";
    auto range = request.headers.find("range");
    size_t first = 0, last = 0;
    if (range != request.headers.end()) {
      if (parseRange(range->second, body.size(), first, last)) {
        extra += "Content-Range: bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" +
                 std::to_string(body.size()) + "\r\n";
        body = body.substr(first, last - first + 1);
        response.status = 206;
      } else {
        extra += "Content-Range: bytes */" + std::to_string(body.size()) + "\r\n";
        body.clear();
        response.status = 416;
      }
    }
  }
  std::string out = "HTTP/1.1 " + std::to_string(response.status) + " " + reasonOf(response.status) + "\r\n";
  out += "Content-Type: " + response.contentType + "\r\n";
  out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  out += "Cache-Control: no-store\r\nConnection: close\r\n" + extra;
  for (const auto& [name, value] : response.headers) out += name + ": " + value + "\r\n";
  out += "\r\n";
  if (request.method != "HEAD") out += body;
  sendAll(socket, out.data(), out.size());
  ::shutdown(socket, SHUT_WR);
  ::close(socket);
}

}  // namespace standin
