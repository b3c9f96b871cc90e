#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/text.h"

namespace zedade {

class Download;
class Downloader;

// Receives a task's events on the downloader's thread: type, connection (-1 for the task), value,
// second value, the task. The answer matters only for type 18 (see AddTask).
using TaskEventCallback = std::function<int(int type, int connection, int64_t value, int64_t value2, Download* task)>;
// Receives each status message of the downloader, on its thread.
using TaskLogCallback = std::function<void(const Text& message)>;

// Event types the program acts on.
inline constexpr int kTaskEventSizeKnown = 3;    // value: the file's size; at most once
inline constexpr int kTaskEventEnded = 4;        // value: bytes downloaded; once, last, whole or not
inline constexpr int kTaskEventFileExists = 18;  // value: the existing file's size; answer 0 keeps it

inline constexpr int32_t kTaskDownload = 4096;
inline constexpr int32_t kTaskUpload = 8192;

// A download task's parameters, at their start-up defaults. Texts are GBK.
struct TaskParam {
  int32_t Flags = 1;
  Text Url;
  Text SavePath;  // ending in '\\' (or '/'): a folder, the server names the file; else the full path
  Text UserName = "anonymous";
  Text Password = "anonymous@example.com";
  int32_t ThreadCount = 1;
  int32_t SpeedLimit = 0;  // bytes per second per connection; 0 for none
  int32_t ConnectTimeout = 20000;
  int32_t SendTimeout = 20000;
  int32_t ReceiveTimeout = 20000;
  int32_t StopWait = 1000;
  int32_t ReceiveBlockSize = 20480;
  int32_t SendBlockSize = 1024;  // uploads only
  TaskLogCallback LogCallback;
  TaskEventCallback EventCallback;
  Text UploadName;            // uploads only
  int32_t FtpTransferMode = 1;  // 1 binary, 2 text, 3 by BinaryExtensions
  Text BinaryExtensions = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";
  std::optional<Text> Proxy;    // none: a direct connection
  std::optional<Text> Referer;  // none: the address up to its last '/'
};

// An announced address without the ASCII and ideographic (GBK A1A1) spaces at either end; tabs
// and line breaks stay.
Text TrimAddressSpaces(const Text& address);

// Writes the update task into the record: the trimmed address, the desktop folder followed by a
// backslash, three connections, the update's time-outs and block size, and the callback. Every
// other field keeps its value.
void SetUpdateTask(TaskParam& param, const Text& updateAddress, const Text& desktopFolder,
                   TaskEventCallback callback);

// Holds at most one running task. Created empty; the downloader comes into being with the first
// task. Destroying it stops a running task: it waits at most the task's StopWait ms for the
// connections, and never for the downloader's thread while that thread is inside a callback (the
// program ends itself from event 4, and that ending destroys this object); such a thread is left
// to end by itself when its callback returns. Once destruction has begun no callback starts, so a
// stopped task sends no event 4; a callback already running must not use its Download* after the
// Download is gone.
class Download final {
 public:
  Download();
  ~Download();
  Download(const Download&) = delete;
  Download& operator=(const Download&) = delete;

 private:
  friend bool AddTask(Download& download, const TaskParam& param);
  friend int64_t GetDoneLength(const Download& download);
  std::unique_ptr<Downloader> m_downloader;
};

// Starts the task in the background (always as a download) and returns at once. The texts are
// copied now. False, and nothing starts, while a task is still running, or when the address is
// empty or not http, https, ftp or ftps. For type 18, the answer 0 stores the new file under a
// free name "name (k).ext" and leaves the old one alone; another answer replaces the old file once
// the new one is whole. The file is written as "<name>.part" and renamed when whole.
bool AddTask(Download& download, const TaskParam& param);

// Bytes downloaded so far by the running task (or the last one), over all its connections; 0
// before any. Safe while the task runs.
int64_t GetDoneLength(const Download& download);

}  // namespace zedade
