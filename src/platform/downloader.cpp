#include "platform/downloader.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/download_naming.h"

namespace zedade {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// State shared by the owner and the task's thread. The thread holds it too, so a detached thread
// never reaches into a destroyed Downloader.
struct Downloader::Shared {
  explicit Shared(DownloadRequest r) : request(std::move(r)) {}

  const DownloadRequest request;
  std::atomic<int64_t> done{0};
  std::atomic<bool> stopping{false};  // read in the transfer's hot path

  std::mutex mutex;
  bool stopRequested = false;     // the owner is going: no callback may start
  bool inCallback = false;        // the thread is inside onEvent or onLog
  bool connectionsEnded = false;  // every connection closed, the file closed or renamed
  bool finished = false;          // no callback comes any more; the thread is leaving
  int wakeFd = -1;                // while the loop runs, so that a stop can wake it
  std::optional<DownloadResult> result;

  // Runs a callback unless the owner is going; false when it did not run.
  template <class Call>
  bool callOut(Call&& call) {
    {
      std::lock_guard lock(mutex);
      if (stopRequested) return false;
      inCallback = true;
    }
    call();
    std::lock_guard lock(mutex);
    inCallback = false;
    return true;
  }
};

namespace {

constexpr int kPollMs = 20;
// Received bytes are gathered per connection and written in blocks of this size: a write per
// receive would double the system calls, which cost more than the copying.
constexpr size_t kWriteBlock = 512 * 1024;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

std::string_view TrimmedLine(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
    text.remove_suffix(1);
  return text;
}

std::optional<int64_t> ParseCount(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

struct ContentRange {
  int64_t first = 0;
  int64_t last = 0;
  int64_t total = -1;  // "*": not told
};

// "bytes 0-99/1000" or "bytes 0-99/*".
std::optional<ContentRange> ParseContentRange(std::string_view value) {
  if (!StartsWithIgnoringCase(value, "bytes ")) return std::nullopt;
  value.remove_prefix(6);
  const size_t dash = value.find('-');
  const size_t slash = value.find('/');
  if (dash == std::string_view::npos || slash == std::string_view::npos || slash < dash) return std::nullopt;
  const auto first = ParseCount(value.substr(0, dash));
  const auto last = ParseCount(value.substr(dash + 1, slash - dash - 1));
  if (!first || !last || *last < *first) return std::nullopt;
  ContentRange range{*first, *last, -1};
  if (value.substr(slash + 1) != "*") {
    const auto total = ParseCount(value.substr(slash + 1));
    if (!total || *total <= *last) return std::nullopt;
    range.total = *total;
  }
  return range;
}

bool FileExists(const std::string& path, int64_t* size = nullptr) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  if (size) *size = info.st_size;
  return true;
}

// The first "dir/name (k).ext" that does not exist.
std::string FreeAlternative(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (int k = 1;; ++k) {
    std::string candidate = folder + download::AlternativeFileName(name, k);
    if (!FileExists(candidate) && !FileExists(candidate + ".part")) return candidate;
  }
}

bool WriteAt(int fd, const char* data, size_t size, int64_t offset) {
  while (size > 0) {
    const ssize_t written = ::pwrite(fd, data, size, offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
    offset += written;
  }
  return true;
}

struct Connection {
  class Transfer* transfer = nullptr;
  int index = 0;
  CURL* easy = nullptr;
  bool probe = false;      // the first connection: its answer decides size, name and parts
  bool rangeAsked = false;
  int64_t begin = 0;       // first byte of its part
  int64_t position = 0;    // next byte to store
  std::string unwritten;   // received bytes just before position, not yet in the file
  int64_t end = -1;        // one past its last byte; -1 while unknown
  bool checked = false;    // its answer has been accepted
  bool whole = false;      // it reached its end and was cut off on purpose
  bool retry = false;      // the probe is to be asked again without a range
  bool answered = false;   // some byte of the answer has come
  // Bytes of the answer so far; the loop notes when it last saw the count change, so that the
  // callbacks need no clock.
  int64_t received = 0;
  int64_t receivedSeen = 0;
  Clock::time_point added;
  Clock::time_point lastActivity;
  // The latest response's head (a redirect starts a new one).
  long status = 0;
  std::optional<int64_t> contentLength;
  std::optional<ContentRange> contentRange;
  std::string disposition;
  char error[CURL_ERROR_SIZE] = {};
};

enum class Decision { Go, Retry, Fail };

// One task's connections, driven from one curl multi loop on the task's thread. The loop waits
// on epoll and hands curl the sockets that are ready, so that curl reads at once instead of
// checking every connection's socket before each read.
class Transfer {
 public:
  explicit Transfer(Downloader::Shared& shared)
      : m_shared(shared), m_request(shared.request), m_http(download::SchemeOf(m_request.url).starts_with("http")),
        m_address(download::WireAddress(m_request.url)) {}

  DownloadResult run();

  size_t onBody(Connection& c, const char* data, size_t size);
  size_t onHeader(Connection& c, std::string_view line);
  int watchSocket(curl_socket_t socket, int what, bool known);
  void setTimer(long timeoutMs);

 private:
  void addConnection(int64_t begin, int64_t end, bool probe, bool askRange);
  void collectFinished();
  void finishConnection(Connection& c, CURLcode code);
  Decision decide(Connection& probe);
  bool checkPartAnswer(Connection& c);
  bool flush(Connection& c);
  bool openFile(const std::string& serverName);
  void closeFile(bool complete, DownloadResult& result);
  void checkTimeouts();
  void fail(std::string reason);
  int emit(int type, int connection, int64_t value, int64_t value2);
  void log(const std::string& message);
  bool stopping() const { return m_shared.stopping.load(std::memory_order_relaxed); }

  Downloader::Shared& m_shared;
  const DownloadRequest& m_request;
  const bool m_http;
  const std::string m_address;
  std::string m_partAddress;  // where the parts are fetched (the probe's address after redirects)
  CURLM* m_multi = nullptr;
  int m_epoll = -1;
  int m_wake = -1;
  std::optional<Clock::time_point> m_curlTimer;  // when curl wants to be called for its time-outs
  std::vector<std::unique_ptr<Connection>> m_connections;
  std::vector<std::pair<int64_t, int64_t>> m_pendingParts;
  int m_active = 0;
  bool m_decided = false;
  bool m_retried = false;
  std::optional<int64_t> m_size;
  std::string m_wantedPath;  // the name the file should have had
  std::string m_finalPath;
  std::string m_partPath;
  bool m_replace = false;
  int m_fd = -1;
  std::string m_failure;
};

size_t BodyCallback(char* data, size_t, size_t size, void* user) {
  auto& c = *static_cast<Connection*>(user);
  return c.transfer->onBody(c, data, size);
}

size_t HeaderCallback(char* data, size_t, size_t size, void* user) {
  auto& c = *static_cast<Connection*>(user);
  return c.transfer->onHeader(c, std::string_view(data, size));
}

int SocketCallback(CURL*, curl_socket_t socket, int what, void* user, void* socketData) {
  return static_cast<Transfer*>(user)->watchSocket(socket, what, socketData != nullptr);
}

int TimerCallback(CURLM*, long timeoutMs, void* user) {
  static_cast<Transfer*>(user)->setTimer(timeoutMs);
  return 0;
}

int Transfer::watchSocket(curl_socket_t socket, int what, bool known) {
  if (what == CURL_POLL_REMOVE) {
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, socket, nullptr);
    return 0;
  }
  epoll_event event{};
  event.events = ((what & CURL_POLL_IN) ? EPOLLIN : 0u) | ((what & CURL_POLL_OUT) ? EPOLLOUT : 0u);
  event.data.fd = socket;
  if (known && ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, socket, &event) == 0) return 0;
  if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, socket, &event) != 0 && errno == EEXIST)
    ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, socket, &event);
  curl_multi_assign(m_multi, socket, this);  // marks the socket as watched
  return 0;
}

void Transfer::setTimer(long timeoutMs) {
  if (timeoutMs < 0) {
    m_curlTimer.reset();
  } else {
    m_curlTimer = Clock::now() + milliseconds(timeoutMs);
  }
}

int Transfer::emit(int type, int connection, int64_t value, int64_t value2) {
  int answer = 0;
  if (m_request.onEvent) {
    m_shared.callOut([&] { answer = m_request.onEvent(DownloadEvent{type, connection, value, value2}); });
  }
  return answer;
}

void Transfer::log(const std::string& message) {
  if (m_request.onLog) m_shared.callOut([&] { m_request.onLog(message); });
}

void Transfer::fail(std::string reason) {
  if (m_failure.empty()) m_failure = std::move(reason);
}

void Transfer::addConnection(int64_t begin, int64_t end, bool probe, bool askRange) {
  auto connection = std::make_unique<Connection>();
  Connection& c = *connection;
  c.transfer = this;
  c.index = static_cast<int>(m_connections.size());
  c.probe = probe;
  c.rangeAsked = askRange;
  c.begin = c.position = begin;
  c.end = end;
  c.added = c.lastActivity = Clock::now();
  c.easy = curl_easy_init();
  if (!c.easy) {
    fail("out of connection handles");
    return;
  }
  CURL* e = c.easy;
  curl_easy_setopt(e, CURLOPT_URL, probe ? m_address.c_str() : m_partAddress.c_str());
  curl_easy_setopt(e, CURLOPT_PRIVATE, &c);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, BodyCallback);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &c);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, HeaderCallback);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &c);
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, c.error);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https,ftp,ftps");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp,ftps");
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(e, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(e, CURLOPT_USERAGENT, "Zedade");
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max(1, m_request.connectTimeoutMs)));
  // An empty proxy turns off the environment's proxies too.
  curl_easy_setopt(e, CURLOPT_PROXY, m_request.proxy ? m_request.proxy->c_str() : "");
  long block = std::clamp(m_request.receiveBlockSize, 1024, CURL_MAX_READ_SIZE);
  if (m_request.speedLimit > 0) {
    // Small reads under a limit, so that the pauses between them stay short.
    block = static_cast<long>(std::clamp<int64_t>(m_request.speedLimit / 4, 1024, block));
    curl_easy_setopt(e, CURLOPT_MAX_RECV_SPEED_LARGE, static_cast<curl_off_t>(m_request.speedLimit));
  }
  curl_easy_setopt(e, CURLOPT_BUFFERSIZE, block);
  if (m_http) {
    const std::string referer = m_request.referer ? *m_request.referer : download::DefaultReferer(m_address);
    curl_easy_setopt(e, CURLOPT_REFERER, referer.c_str());
  } else {
    curl_easy_setopt(e, CURLOPT_USERNAME, m_request.userName.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, m_request.password.c_str());
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>((m_request.receiveTimeoutMs + 999) / 1000));
    bool text = m_request.ftpMode == FtpTransferMode::Text;
    if (m_request.ftpMode == FtpTransferMode::ByExtension) {
      const std::string name = download::FileNameFromAddress(m_request.url);
      const size_t dot = name.rfind('.');
      text = true;
      if (dot != std::string::npos) {
        const std::string extension = name.substr(dot);
        std::string_view list = m_request.binaryExtensions;
        while (!list.empty()) {
          const size_t bar = list.find('|');
          const std::string_view item = list.substr(0, bar);
          if (item.size() == extension.size() && StartsWithIgnoringCase(extension, item)) text = false;
          list = bar == std::string_view::npos ? std::string_view() : list.substr(bar + 1);
        }
      }
    }
    curl_easy_setopt(e, CURLOPT_TRANSFERTEXT, text ? 1L : 0L);
  }
  if (askRange) {
    const std::string range = std::to_string(begin) + "-" + (end >= 0 ? std::to_string(end - 1) : std::string());
    curl_easy_setopt(e, CURLOPT_RANGE, range.c_str());
  }
  if (curl_multi_add_handle(m_multi, e) != CURLM_OK) {
    curl_easy_cleanup(e);
    c.easy = nullptr;
    fail("cannot start a connection");
    return;
  }
  ++m_active;
  m_connections.push_back(std::move(connection));
  emit(download_event::kConnectionStarted, c.index, begin, end >= 0 ? end - 1 : -1);
}

size_t Transfer::onHeader(Connection& c, std::string_view line) {
  if (stopping()) return 0;
  c.answered = true;
  c.received += static_cast<int64_t>(line.size());
  if (!m_http) return line.size();
  if (StartsWithIgnoringCase(line, "HTTP/")) {
    const size_t space = line.find(' ');
    c.status = space == std::string_view::npos ? 0 : std::atol(std::string(line.substr(space + 1, 3)).c_str());
    c.contentLength.reset();
    c.contentRange.reset();
    c.disposition.clear();
    return line.size();
  }
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return line.size();
  const std::string_view name = line.substr(0, colon);
  const std::string_view value = TrimmedLine(line.substr(colon + 1));
  auto is = [&](std::string_view wanted) { return name.size() == wanted.size() && StartsWithIgnoringCase(name, wanted); };
  if (is("Content-Length")) c.contentLength = ParseCount(value);
  else if (is("Content-Range")) c.contentRange = ParseContentRange(value);
  else if (is("Content-Disposition")) c.disposition = std::string(value);
  return line.size();
}

size_t Transfer::onBody(Connection& c, const char* data, size_t size) {
  if (stopping()) return 0;
  c.answered = true;
  c.received += static_cast<int64_t>(size);
  if (!c.checked) {
    if (c.probe) {
      const Decision decision = decide(c);
      if (decision == Decision::Retry) c.retry = true;
      if (decision != Decision::Go) return 0;
    } else if (!checkPartAnswer(c)) {
      return 0;
    }
    c.checked = true;
  }
  size_t take = size;
  if (c.end >= 0) take = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(size), c.end - c.position));
  if (c.unwritten.size() + take > kWriteBlock && !flush(c)) return 0;
  if (take >= kWriteBlock) {
    if (!WriteAt(m_fd, data, take, c.position)) {
      fail(std::string("cannot write the file: ") + std::strerror(errno));
      return 0;
    }
  } else if (take > 0) {
    if (c.unwritten.capacity() < kWriteBlock) c.unwritten.reserve(kWriteBlock);
    c.unwritten.append(data, take);
  }
  c.position += static_cast<int64_t>(take);
  m_shared.done.fetch_add(static_cast<int64_t>(take), std::memory_order_relaxed);
  if (take < size) c.whole = true;  // the rest belongs to another connection
  return take;
}

Decision Transfer::decide(Connection& probe) {
  bool ranges = false;
  std::string serverName;
  if (m_http) {
    if (probe.status == 416 && probe.rangeAsked && !m_retried) return Decision::Retry;  // an empty file
    if (probe.status != 200 && probe.status != 206) {
      fail("the server answered " + std::to_string(probe.status));
      return Decision::Fail;
    }
    if (probe.status == 206 && probe.contentRange) {
      if (probe.contentRange->first != 0) {
        fail("the server answered another range than asked");
        return Decision::Fail;
      }
      if (probe.contentRange->total >= 0) {
        m_size = probe.contentRange->total;
        ranges = true;
      }
    } else if (probe.contentLength) {
      m_size = *probe.contentLength;
    }
    if (!probe.disposition.empty()) serverName = download::FileNameFromContentDisposition(probe.disposition);
    char* effective = nullptr;
    curl_easy_getinfo(probe.easy, CURLINFO_EFFECTIVE_URL, &effective);
    m_partAddress = effective ? effective : m_address;
  } else {
    curl_off_t length = -1;
    curl_easy_getinfo(probe.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length >= 0) m_size = length;
  }
  if (m_size) emit(download_event::kSizeKnown, -1, *m_size, 0);
  if (!openFile(serverName)) return Decision::Fail;

  int64_t parts = 1;
  if (ranges && *m_size > 0 && m_request.connections > 1) {
    parts = std::clamp<int64_t>(*m_size / std::max<int64_t>(1, m_request.minPartBytes), 1,
                                static_cast<int64_t>(std::min(m_request.connections, 32)));
  }
  const int64_t base = m_size ? *m_size / parts : 0;
  const int64_t extra = m_size ? *m_size % parts : 0;
  auto boundary = [&](int64_t i) { return base * i + std::min(i, extra); };
  probe.end = m_size ? boundary(1) : -1;
  for (int64_t i = 1; i < parts; ++i) m_pendingParts.emplace_back(boundary(i), boundary(i + 1));
  m_decided = true;
  probe.lastActivity = Clock::now();  // the callbacks above may have taken their time
  log("size " + (m_size ? std::to_string(*m_size) : std::string("unknown")) + ", " + std::to_string(parts) +
      " connection(s), saving to " + m_partPath);
  return Decision::Go;
}

bool Transfer::flush(Connection& c) {
  if (c.unwritten.empty()) return true;
  const int64_t offset = c.position - static_cast<int64_t>(c.unwritten.size());
  const bool written = WriteAt(m_fd, c.unwritten.data(), c.unwritten.size(), offset);
  if (!written) fail(std::string("cannot write the file: ") + std::strerror(errno));
  c.unwritten.clear();
  return written;
}

bool Transfer::checkPartAnswer(Connection& c) {
  if (c.status == 206 && c.contentRange && c.contentRange->first == c.begin && c.contentRange->total == m_size)
    return true;
  fail("connection " + std::to_string(c.index) + ": the server did not answer the range asked");
  return false;
}

bool Transfer::openFile(const std::string& serverName) {
  const std::string& save = m_request.savePath;
  std::string path;
  if (save.empty() || save.back() == '/' || save.back() == '\\') {
    std::string name = serverName.empty() ? download::FileNameFromAddress(m_request.url) : serverName;
    if (name.empty()) name = "download";
    std::string folder = save.empty() ? std::string() : save.substr(0, save.size() - 1);
    if (!folder.empty()) {
      std::error_code ignored;  // a folder that cannot be made shows when the file is created
      std::filesystem::create_directories(folder, ignored);
    }
    if (!folder.empty() || save == "/") folder += '/';
    path = folder + name;
  } else {
    path = save;
  }
  m_wantedPath = path;
  int64_t existingSize = 0;
  if (FileExists(path, &existingSize)) {
    const int answer = emit(download_event::kFileExists, -1, existingSize, 0);
    if (stopping()) return false;
    m_replace = answer != 0;
    if (!m_replace) path = FreeAlternative(path);
  }
  m_finalPath = path;
  m_partPath = path + ".part";
  m_fd = ::open(m_partPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (m_fd < 0) {
    fail("cannot create " + m_partPath + ": " + std::strerror(errno));
    return false;
  }
  // Reserving the whole size early finds a full disk before the download, not after.
  if (m_size && *m_size > 0 && ::fallocate(m_fd, 0, 0, *m_size) != 0 && errno == ENOSPC) {
    fail("no room for " + std::to_string(*m_size) + " bytes");
    return false;
  }
  return true;
}

void Transfer::closeFile(bool complete, DownloadResult& result) {
  if (m_fd < 0) return;
  ::close(m_fd);
  m_fd = -1;
  if (!complete) {
    if (m_shared.done.load() == 0) {
      ::unlink(m_partPath.c_str());
    } else {
      result.path = m_partPath;
    }
    return;
  }
  for (;;) {
    if (m_replace) {
      if (::rename(m_partPath.c_str(), m_finalPath.c_str()) == 0) break;
    } else if (::renameat2(AT_FDCWD, m_partPath.c_str(), AT_FDCWD, m_finalPath.c_str(), RENAME_NOREPLACE) == 0) {
      break;
    } else if (errno == EEXIST) {
      m_finalPath = FreeAlternative(m_wantedPath);  // someone took the name meanwhile
      continue;
    } else if ((errno == EINVAL || errno == ENOSYS) && !FileExists(m_finalPath) &&
               ::rename(m_partPath.c_str(), m_finalPath.c_str()) == 0) {
      break;  // a file system without no-replace renames
    }
    result.complete = false;
    result.path = m_partPath;
    result.error = "cannot rename " + m_partPath + ": " + std::strerror(errno);
    return;
  }
  result.path = m_finalPath;
}

void Transfer::finishConnection(Connection& c, CURLcode code) {
  curl_multi_remove_handle(m_multi, c.easy);
  std::string reason;
  if (!flush(c)) reason = m_failure;
  // An answer without a body reaches no body callback: the probe decides here.
  if (code == CURLE_OK && c.probe && !m_decided && !c.retry) {
    const Decision decision = decide(c);
    if (decision == Decision::Retry) c.retry = true;
    if (decision == Decision::Fail) reason = m_failure;
  }
  bool whole = false;
  if (c.retry || !reason.empty()) {
    whole = false;
  } else if (c.whole) {
    whole = true;  // cut off at its end on purpose
  } else if (code != CURLE_OK) {
    reason = "connection " + std::to_string(c.index) + ": " + (c.error[0] ? c.error : curl_easy_strerror(code));
  } else if (!c.probe && !c.checked && !checkPartAnswer(c)) {
    reason = m_failure;
  } else if (c.end >= 0 && c.position != c.end) {
    reason = "connection " + std::to_string(c.index) + " ended at byte " + std::to_string(c.position) + " of " +
             std::to_string(c.end);
  } else {
    whole = true;
  }
  curl_easy_cleanup(c.easy);
  c.easy = nullptr;
  --m_active;
  emit(download_event::kConnectionEnded, c.index, c.position - c.begin, whole ? 1 : 0);
  if (c.retry) {
    m_retried = true;
    log("the server refused the range of an empty file; asking again without one");
    addConnection(0, -1, true, false);
  } else if (!whole) {
    fail(reason.empty() ? "connection " + std::to_string(c.index) + " failed" : reason);
  }
}

void Transfer::collectFinished() {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(m_multi, &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    Connection* c = nullptr;
    curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &c);
    finishConnection(*c, message->data.result);
  }
}

void Transfer::checkTimeouts() {
  const auto now = Clock::now();
  for (const auto& c : m_connections) {
    if (!c->easy) continue;
    if (c->received != c->receivedSeen) {
      c->receivedSeen = c->received;
      c->lastActivity = now;
    }
    if (c->answered) {
      if (now - c->lastActivity > milliseconds(m_request.receiveTimeoutMs))
        fail("connection " + std::to_string(c->index) + ": nothing received for " +
             std::to_string(m_request.receiveTimeoutMs) + " ms");
      continue;
    }
    // Until connected, curl's connect time-out rules; then the server has the send and receive
    // limits for the first byte of its answer.
    curl_off_t connectUs = 0;
    curl_easy_getinfo(c->easy, CURLINFO_CONNECT_TIME_T, &connectUs);
    if (connectUs <= 0) continue;
    const auto deadline = c->added + std::chrono::microseconds(connectUs) +
                          milliseconds(m_request.sendTimeoutMs) + milliseconds(m_request.receiveTimeoutMs);
    if (now > deadline) fail("connection " + std::to_string(c->index) + ": no answer");
  }
}

DownloadResult Transfer::run() {
  DownloadResult result;
  m_multi = curl_multi_init();
  m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
  m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (!m_multi || m_epoll < 0 || m_wake < 0) {
    if (m_multi) curl_multi_cleanup(m_multi);
    if (m_epoll >= 0) ::close(m_epoll);
    if (m_wake >= 0) ::close(m_wake);
    result.error = "cannot start the transfer";
    return result;
  }
  // Separate connections, also where HTTP/2 could carry every part over one.
  curl_multi_setopt(m_multi, CURLMOPT_PIPELINING, CURLPIPE_NOTHING);
  curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, SocketCallback);
  curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, TimerCallback);
  curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
  epoll_event wakeEvent{};
  wakeEvent.events = EPOLLIN;
  wakeEvent.data.fd = m_wake;
  ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &wakeEvent);
  {
    std::lock_guard lock(m_shared.mutex);
    m_shared.wakeFd = m_wake;
  }
  addConnection(0, -1, true, m_http);
  epoll_event ready[16];
  while (m_failure.empty() && !stopping()) {
    // Wake at least every kPollMs for the stop flag and the time-outs of our own.
    int waitMs = kPollMs;
    if (m_curlTimer) {
      const auto left = std::chrono::ceil<milliseconds>(*m_curlTimer - Clock::now()).count();
      waitMs = static_cast<int>(std::clamp<int64_t>(left, 0, kPollMs));
    }
    const int count = ::epoll_wait(m_epoll, ready, 16, waitMs);
    int running = 0;
    for (int i = 0; i < count; ++i) {
      const int fd = ready[i].data.fd;
      if (fd == m_wake) {
        uint64_t ignored = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_wake, &ignored, sizeof ignored);
        continue;
      }
      const uint32_t what = ready[i].events;
      const int mask = ((what & EPOLLIN) ? CURL_CSELECT_IN : 0) | ((what & EPOLLOUT) ? CURL_CSELECT_OUT : 0) |
                       ((what & (EPOLLERR | EPOLLHUP)) ? CURL_CSELECT_ERR : 0);
      curl_multi_socket_action(m_multi, fd, mask, &running);
    }
    if (m_curlTimer && Clock::now() >= *m_curlTimer) {
      m_curlTimer.reset();
      curl_multi_socket_action(m_multi, CURL_SOCKET_TIMEOUT, 0, &running);
    }
    collectFinished();
    if (!m_failure.empty() || stopping()) break;
    for (const auto& [begin, end] : m_pendingParts) addConnection(begin, end, false, true);
    m_pendingParts.clear();
    if (m_active == 0) break;
    checkTimeouts();
  }
  {
    std::lock_guard lock(m_shared.mutex);
    m_shared.wakeFd = -1;
  }
  for (const auto& c : m_connections) {
    flush(*c);  // what came is good, also when the task stops
    if (!c->easy) continue;
    curl_multi_remove_handle(m_multi, c->easy);
    curl_easy_cleanup(c->easy);
    c->easy = nullptr;
  }
  curl_multi_cleanup(m_multi);
  ::close(m_epoll);
  ::close(m_wake);

  result.bytes = m_shared.done.load();
  if (stopping()) {
    result.error = "stopped";
  } else if (!m_failure.empty()) {
    result.error = m_failure;
  } else if (m_size && result.bytes != *m_size) {
    result.error = "got " + std::to_string(result.bytes) + " of " + std::to_string(*m_size) + " bytes";
  } else {
    result.complete = true;
  }
  closeFile(result.complete, result);
  log(result.complete ? "saved " + result.path : "not complete: " + result.error);
  return result;
}

void RunTask(const std::shared_ptr<Downloader::Shared>& shared) {
  DownloadResult result = Transfer(*shared).run();
  bool report = false;
  {
    std::lock_guard lock(shared->mutex);
    shared->result = result;
    shared->connectionsEnded = true;
    report = !shared->stopRequested && shared->request.onEvent;
    shared->inCallback = report;
    shared->finished = !report;
  }
  if (!report) return;
  shared->request.onEvent(
      DownloadEvent{download_event::kTaskEnded, -1, result.bytes, result.complete ? 1 : 0});
  std::lock_guard lock(shared->mutex);
  shared->inCallback = false;
  shared->finished = true;
}

}  // namespace

Downloader::Downloader() = default;

Downloader::~Downloader() {
  if (!m_thread.joinable()) return;
  const int stopWaitMs = m_task->request.stopWaitMs;
  {
    std::lock_guard lock(m_task->mutex);
    m_task->stopRequested = true;
    m_task->stopping = true;
    if (m_task->wakeFd >= 0) {
      const uint64_t one = 1;
      [[maybe_unused]] const ssize_t n = ::write(m_task->wakeFd, &one, sizeof one);
    }
  }
  const bool onTaskThread = std::this_thread::get_id() == m_thread.get_id();
  const auto deadline = Clock::now() + milliseconds(std::max(0, stopWaitMs));
  bool leaving = false;
  for (;;) {
    {
      std::lock_guard lock(m_task->mutex);
      // Past its connections and outside any callback, the thread only returns.
      leaving = m_task->connectionsEnded && !m_task->inCallback;
      if (m_task->connectionsEnded || onTaskThread) break;
    }
    const auto now = Clock::now();
    if (now >= deadline) break;
    std::this_thread::sleep_for(std::min<Clock::duration>(milliseconds(kPollMs), deadline - now));
  }
  if (leaving && !onTaskThread) {
    m_thread.join();
  } else {
    m_thread.detach();
  }
}

bool Downloader::start(DownloadRequest request) {
  if (running()) return false;
  if (request.url.empty() || !download::IsSupportedScheme(download::SchemeOf(request.url))) return false;
  if (m_thread.joinable()) m_thread.join();  // the last task's thread is leaving
  InitCurlOnce();
  request.connections = std::max(1, request.connections);
  m_task = std::make_shared<Shared>(std::move(request));
  m_thread = std::thread([task = m_task] { RunTask(task); });
  return true;
}

bool Downloader::running() const {
  if (!m_task) return false;
  std::lock_guard lock(m_task->mutex);
  return !m_task->finished;
}

int64_t Downloader::doneLength() const { return m_task ? m_task->done.load(std::memory_order_relaxed) : 0; }

std::optional<DownloadResult> Downloader::result() const {
  if (!m_task) return std::nullopt;
  std::lock_guard lock(m_task->mutex);
  return m_task->result;
}

}  // namespace zedade
