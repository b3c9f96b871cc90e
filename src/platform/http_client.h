#pragma once

#include <string>

#include "platform/text.h"

namespace zedade {

// Limits that bound every fetch. A time-out of 0 turns that time-out off; maxRedirects 0 follows
// no redirect.
struct HttpOptions {
  long connectTimeoutMs = 10'000;  // name lookup, TCP and TLS set-up of each connection
  long stallTimeoutMs = 15'000;    // no byte for this long ends it (checked about once a second)
  long totalTimeoutMs = 60'000;    // a server that trickles a byte now and then is cut off here
  long maxRedirects = 10;
};

// The limits FetchHttp uses when none are given. Tests shorten them; safe to call from any thread.
HttpOptions DefaultHttpOptions();
void SetDefaultHttpOptions(const HttpOptions& options);

struct HttpResult {
  enum class Outcome {
    Complete,  // the whole response body arrived (whatever the status code)
    Partial,   // the transfer broke off or stalled; body holds the bytes received so far
    Failed,    // nothing usable: bad address, no connection, too many redirects, ...; body empty
  };
  ByteBlock body;
  long status = 0;  // status code of the last response, 0 when none arrived
  Outcome outcome = Outcome::Failed;
  std::string reason;  // why it is not Complete, for logs and tests
};

// A synchronous GET in HTTP/1.0 of an absolute http or https address, as an old desktop browser
// sends it: its user agent, "Accept: */*", no-cache request headers, nothing cached on our side.
// The part of the address from the first "#" on is not sent; bytes of 0x80 and above (GBK text),
// spaces and control bytes are percent-encoded. Redirects are followed up to maxRedirects.
// Proxy settings of the environment are not used. Blocks the calling thread; thread-safe.
HttpResult FetchHttp(const Text& address, const HttpOptions& options);
HttpResult FetchHttp(const Text& address);

// What handlers use: the body (also of an error status, or the part of a broken transfer), or an
// empty block on any other failure.
ByteBlock HttpFetch(const Text& address);

}  // namespace zedade
