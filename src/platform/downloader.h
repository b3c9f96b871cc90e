#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace zedade {

// Event types of a download task. Task-wide events carry connection -1.
namespace download_event {
inline constexpr int kConnectionStarted = 1;  // value: first byte of its range, value2: last byte or -1
inline constexpr int kConnectionEnded = 2;    // value: bytes it stored, value2: 1 when its part is whole
inline constexpr int kSizeKnown = 3;          // value: size of the file; at most once
inline constexpr int kTaskEnded = 4;          // value: bytes stored, value2: 1 when the file is whole; once, last
inline constexpr int kFileExists = 18;        // value: size of the existing file; see DownloadRequest::onEvent
}  // namespace download_event

struct DownloadEvent {
  int type = 0;
  int connection = -1;
  int64_t value = 0;
  int64_t value2 = 0;
};

enum class FtpTransferMode { Binary = 1, Text = 2, ByExtension = 3 };

// One download task. Texts are UTF-8; the file system takes names as they are.
struct DownloadRequest {
  // http, https, ftp or ftps. Bytes a URL cannot hold (non-ASCII, spaces) go out percent-encoded.
  std::string url;
  // Ending in '/' or '\\': the folder, and the file is named by the server's Content-Disposition
  // filename or else by the address's last path segment. Otherwise the file's full path.
  std::string savePath;
  std::string userName = "anonymous";  // ftp only
  std::string password;                // ftp only
  // Connections in parallel, each on its own byte range, when the server gives the size and
  // honours ranges; otherwise one.
  int connections = 1;
  // A connection of its own only for at least this many bytes (a few connections on a tiny file
  // cost more than they bring).
  int64_t minPartBytes = 256 * 1024;
  int64_t speedLimit = 0;  // bytes per second per connection; 0 for none
  int connectTimeoutMs = 20000;
  // A request is a few hundred bytes, so its send never waits on a full socket: the send limit is
  // given to the server, with the receive limit, for the first byte of its answer.
  int sendTimeoutMs = 20000;
  int receiveTimeoutMs = 20000;  // longest silence of a connection once its answer has begun
  int stopWaitMs = 1000;         // see ~Downloader
  int receiveBlockSize = 20480;  // bytes read at once while speedLimit is 0
  FtpTransferMode ftpMode = FtpTransferMode::Binary;
  std::string binaryExtensions = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";  // for FtpTransferMode::ByExtension
  std::optional<std::string> proxy;    // none: a direct connection, whatever the environment says
  std::optional<std::string> referer;  // none: the address up to its last '/'
  // Called on the task's thread. The answer matters only for kFileExists: 0 stores the new file
  // under a free name "name (k).ext" and leaves the old file alone; any other answer replaces the
  // old file once the new one is whole. No call comes once the Downloader is being destroyed.
  std::function<int(const DownloadEvent&)> onEvent;
  std::function<void(const std::string&)> onLog;  // status messages, on the task's thread
};

struct DownloadResult {
  bool complete = false;
  int64_t bytes = 0;
  // Where the file is: its final name when complete; otherwise the partial file (its final name
  // followed by ".part"), or empty when nothing was stored.
  std::string path;
  std::string error;  // why it is not complete
};

// Runs one task at a time on a thread of its own: one curl multi loop drives all its connections,
// and each connection writes its bytes at their offsets in the file (through a small buffer of
// its own), so memory does not grow with the file. The file is written as "<name>.part" and
// renamed when whole, so a broken or stopped download is never found under the final name; a
// partial file with some bytes in it is left for the user, an empty one is removed.
//
// start(), result() and the destructor belong to the owner's thread; doneLength() and running()
// may also be called from other threads, only not during start().
class Downloader final {
 public:
  Downloader();
  // Stops a running task: signals its connections and waits for them to end, at most
  // request.stopWaitMs (checked every 20 ms). It does not wait for a task thread that is inside
  // an event or log callback, since the owner may be what that callback waits on (the program
  // ends itself from the final event, and that ending destroys the Downloader): such a thread is
  // detached. It owns the task's state with the Downloader, so it touches nothing that is freed
  // here, starts no further callback, and ends when its callback returns. Otherwise the thread is
  // joined and none is left behind. A task stopped this way sends no kTaskEnded.
  ~Downloader();
  Downloader(const Downloader&) = delete;
  Downloader& operator=(const Downloader&) = delete;

  // Starts the task in the background and returns at once; false, and nothing starts, when a task
  // is still running (until its kTaskEnded callback has returned), the address is empty or its
  // scheme is not supported.
  bool start(DownloadRequest request);

  bool running() const;
  // Bytes stored so far by the current or last task, summed over its connections; 0 before any.
  int64_t doneLength() const;
  // The outcome of the last task once its connections have ended.
  std::optional<DownloadResult> result() const;

  struct Shared;

 private:
  std::shared_ptr<Shared> m_task;
  std::thread m_thread;
};

}  // namespace zedade
