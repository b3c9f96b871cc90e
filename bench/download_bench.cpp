// Downloads one address with the program's downloader and prints a line of figures:
//   seconds=… bytes=… mbps=… peak_rss_kib=… complete=0|1
// usage: zedade_download_bench URL FOLDER/ [connections=3] [receive-block-bytes=10240]
#include <sys/resource.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/downloader.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s URL FOLDER/ [connections] [receive-block-bytes]\n", argv[0]);
    return 2;
  }
  zedade::DownloadRequest request;
  request.url = argv[1];
  request.savePath = argv[2];
  request.connections = argc > 3 ? std::atoi(argv[3]) : 3;
  request.receiveBlockSize = argc > 4 ? std::atoi(argv[4]) : 10240;
  // The update task's time-outs.
  request.connectTimeoutMs = 5000;
  request.sendTimeoutMs = 5001;
  request.receiveTimeoutMs = 10000;

  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  bool complete = false;
  request.onEvent = [&](const zedade::DownloadEvent& event) {
    if (event.type == zedade::download_event::kTaskEnded) {
      std::lock_guard lock(mutex);
      done = true;
      complete = event.value2 == 1;
      ended.notify_all();
    }
    return 0;
  };

  zedade::Downloader downloader;
  const auto begin = std::chrono::steady_clock::now();
  if (!downloader.start(request)) {
    std::fprintf(stderr, "refused\n");
    return 1;
  }
  {
    std::unique_lock lock(mutex);
    ended.wait(lock, [&] { return done; });
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const auto bytes = downloader.doneLength();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("seconds=%.3f bytes=%lld mbps=%.1f peak_rss_kib=%ld complete=%d\n", seconds,
              static_cast<long long>(bytes), static_cast<double>(bytes) / 1e6 / seconds, usage.ru_maxrss,
              complete ? 1 : 0);
  if (!complete && downloader.result()) std::fprintf(stderr, "%s\n", downloader.result()->error.c_str());
  return complete ? 0 : 1;
}
