#include "platform/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace zedade {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

std::mutex g_optionsMutex;
HttpOptions g_defaultOptions;

void EnsureCurlReady() {
  static std::once_flag once;
  // Process-wide and never undone: other threads may still be using libcurl at exit.
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The address as curl gets it: cut at the first "#", and GBK bytes, spaces and control bytes
// percent-encoded (curl's parser refuses them raw).
std::string PrepareAddress(const Text& address) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : std::string_view(address).substr(0, address.find('#'))) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || byte <= 0x20 || byte == 0x7F) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

// "scheme://" with a scheme of letters, digits, "+", "-" or "." beginning with a letter.
bool HasScheme(const std::string& address) {
  const std::size_t colon = address.find("://");
  if (colon == std::string::npos || colon == 0) return false;
  if (!std::isalpha(static_cast<unsigned char>(address[0]))) return false;
  return std::all_of(address.begin(), address.begin() + colon, [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

// What one request (one hop of a redirect chain) has received.
struct Transfer {
  ByteBlock body;
  bool responseStarted = false;  // a status line has arrived
  bool stalled = false;
  long stallTimeoutMs = 0;
  Clock::time_point lastActivity;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  transfer->body.append(data, size * count);
  transfer->lastActivity = Clock::now();
  return size * count;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::string_view line(data, size * count);
  if (line.substr(0, 5) == "HTTP/") {  // a (further) response begins: only its body counts
    transfer->responseStarted = true;
    transfer->body.clear();
  }
  transfer->lastActivity = Clock::now();
  return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* transfer = static_cast<Transfer*>(user);
  if (transfer->stallTimeoutMs <= 0) return 0;
  const auto idle = Clock::now() - transfer->lastActivity;
  if (idle < std::chrono::milliseconds(transfer->stallTimeoutMs)) return 0;
  transfer->stalled = true;
  return 1;  // aborts the transfer
}

// Errors after which the bytes received so far are the result.
bool BrokeOff(CURLcode code) {
  return code == CURLE_PARTIAL_FILE || code == CURLE_RECV_ERROR || code == CURLE_OPERATION_TIMEDOUT ||
         code == CURLE_ABORTED_BY_CALLBACK;
}

bool IsRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

HttpResult Failed(std::string reason, long status = 0) {
  HttpResult result;
  result.outcome = HttpResult::Outcome::Failed;
  result.status = status;
  result.reason = std::move(reason);
  return result;
}

}  // namespace

HttpOptions DefaultHttpOptions() {
  std::lock_guard lock(g_optionsMutex);
  return g_defaultOptions;
}

void SetDefaultHttpOptions(const HttpOptions& options) {
  std::lock_guard lock(g_optionsMutex);
  g_defaultOptions = options;
}

HttpResult FetchHttp(const Text& address, const HttpOptions& options) {
  if (address.empty()) return Failed("empty address");
  std::string url = PrepareAddress(address);
  if (!HasScheme(url)) return Failed("address has no scheme");

  EnsureCurlReady();
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return Failed("curl_easy_init failed");
  std::unique_ptr<curl_slist, ListDeleter> headers;
  for (const char* header : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
    headers.reset(curl_slist_append(headers.release(), header));
  }

  Transfer transfer;
  transfer.stallTimeoutMs = options.stallTimeoutMs;
  char errorText[CURL_ERROR_SIZE];

  CURL* h = easy.get();
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_PROXY, "");  // the program takes no settings from the environment
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);  // followed below, one request at a time
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::max(options.connectTimeoutMs, 0L));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);

  const Clock::time_point start = Clock::now();
  for (long hop = 0;; ++hop) {
    if (options.totalTimeoutMs > 0) {
      const auto spent =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
      if (spent >= options.totalTimeoutMs) return Failed("total time-out reached while redirected");
      curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeoutMs - spent));
    }
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    transfer = Transfer{{}, false, false, options.stallTimeoutMs, Clock::now()};
    errorText[0] = '\0';

    const CURLcode code = curl_easy_perform(h);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);

    if (code != CURLE_OK) {
      std::string reason = errorText[0] ? errorText : curl_easy_strerror(code);
      if (transfer.stalled) {
        reason = "stalled: no data for " + std::to_string(options.stallTimeoutMs) + " ms";
      } else if (code == CURLE_OPERATION_TIMEDOUT) {
        reason = "timed out: " + reason;
      }
      if (!transfer.responseStarted || !BrokeOff(code)) return Failed(std::move(reason), status);
      HttpResult result;
      result.body = std::move(transfer.body);
      result.status = status;
      result.outcome = HttpResult::Outcome::Partial;
      result.reason = std::move(reason);
      return result;
    }

    const char* location = nullptr;
    curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &location);
    if (IsRedirect(status) && location && *location) {
      if (hop >= options.maxRedirects) return Failed("too many redirects", status);
      url = PrepareAddress(location);
      continue;
    }

    HttpResult result;
    result.body = std::move(transfer.body);
    result.status = status;
    result.outcome = HttpResult::Outcome::Complete;
    return result;
  }
}

HttpResult FetchHttp(const Text& address) { return FetchHttp(address, DefaultHttpOptions()); }

ByteBlock HttpFetch(const Text& address) {
  HttpResult result = FetchHttp(address);
  return result.outcome == HttpResult::Outcome::Failed ? ByteBlock() : std::move(result.body);
}

}  // namespace zedade
