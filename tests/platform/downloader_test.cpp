#include "platform/downloader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "loopback_server.h"
#include "raw_http_server.h"

namespace zedade {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::LoopbackServer;
using testing::RawHttpServer;

std::string Bytes(size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

int ThreadCount() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/task"), fs::directory_iterator()));
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "zedade-download-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(m_path); }
  const fs::path& path() const { return m_path; }
  std::string folder() const { return m_path.string() + "/"; }
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(m_path)) found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }

 private:
  fs::path m_path;
};

// The task's events as they came, with a wait for the last one.
class Events {
 public:
  std::function<int(const DownloadEvent&)> handler(int fileExistsAnswer = 0) {
    return [this, fileExistsAnswer](const DownloadEvent& event) {
      // Told under the lock: once a waiter sees the last event, this object is no longer touched
      // (the Downloader may be gone while this callback returns).
      std::lock_guard lock(m_mutex);
      m_events.push_back(event);
      m_changed.notify_all();
      return event.type == download_event::kFileExists ? fileExistsAnswer : 0;
    };
  }
  bool waitForEnd(std::chrono::milliseconds limit = 20s) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] {
      return !m_events.empty() && m_events.back().type == download_event::kTaskEnded;
    });
  }
  std::vector<DownloadEvent> ofType(int type) const {
    std::lock_guard lock(m_mutex);
    std::vector<DownloadEvent> found;
    for (const DownloadEvent& e : m_events) {
      if (e.type == type) found.push_back(e);
    }
    return found;
  }
  std::vector<DownloadEvent> all() const {
    std::lock_guard lock(m_mutex);
    return m_events;
  }

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<DownloadEvent> m_events;
};

// Files served with ranges by the HTTP library, plus routes that misbehave on purpose.
class FileSite {
 public:
  explicit FileSite(std::map<std::string, std::string> files) : m_files(std::move(files)) {
    httplib::Server& s = m_server.server();
    // Noted before the answer goes out, so that a finished download has been noted.
    s.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
      std::lock_guard lock(m_mutex);
      m_log.push_back({request.path, request.get_header_value("Range"), request.get_header_value("Referer")});
      return httplib::Server::HandlerResponse::Unhandled;
    });
    s.Get("/files/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
      const auto found = m_files.find(request.matches[1]);
      if (found == m_files.end()) {
        response.status = 404;
        response.set_content("missing", "text/plain");
        return;
      }
      response.set_content(found->second, "application/octet-stream");
    });
    s.Get("/named", [this](const httplib::Request&, httplib::Response& response) {
      response.set_header("Content-Disposition", "attachment; filename=\"setup 2.exe\"");
      response.set_content(m_files.begin()->second, "application/octet-stream");
    });
    // No size: chunked.
    s.Get("/chunked/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
      const std::string body = m_files.at(request.matches[1]);
      response.set_chunked_content_provider("application/octet-stream", [body](size_t offset, httplib::DataSink& sink) {
        if (offset >= body.size()) {
          sink.done();
          return true;
        }
        const size_t n = std::min<size_t>(64 * 1024, body.size() - offset);
        return sink.write(body.data() + offset, n);
      });
    });
    // Sends the first half of what is asked, then drops the connection.
    s.Get("/drop/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
      const std::string body = m_files.at(request.matches[1]);
      response.set_content_provider(body.size(), "application/octet-stream",
                                    [body](size_t offset, size_t length, httplib::DataSink& sink) {
                                      sink.write(body.data() + offset, length / 2);
                                      return false;
                                    });
    });
    // Sends 1000 bytes, then falls silent until released.
    s.Get("/stall/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
      const std::string body = m_files.at(request.matches[1]);
      response.set_content_provider(body.size(), "application/octet-stream",
                                    [this, body](size_t offset, size_t, httplib::DataSink& sink) {
                                      sink.write(body.data() + offset, 1000);
                                      waitForRelease();
                                      return false;
                                    });
    });
    // Says nothing at all until released.
    s.Get("/silent", [this](const httplib::Request&, httplib::Response& response) {
      waitForRelease();
      response.set_content("late", "text/plain");
    });
    // Sends the first half of the file, then the rest once the gate opens.
    s.Get("/gated/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
      const std::string body = m_files.at(request.matches[1]);
      response.set_content_provider(body.size(), "application/octet-stream",
                                    [this, body](size_t offset, size_t length, httplib::DataSink& sink) {
                                      if (offset < body.size() / 2) {
                                        return sink.write(body.data(), body.size() / 2);
                                      }
                                      waitForRelease();
                                      return sink.write(body.data() + offset, length);
                                    });
    });
    m_server.start();
  }

  ~FileSite() {
    release();
    m_server.stop();
  }

  std::string url(const std::string& path) const { return m_server.url(path); }

  void release() {
    {
      std::lock_guard lock(m_mutex);
      m_released = true;
    }
    m_releasedChanged.notify_all();
  }

  struct Logged {
    std::string path;
    std::string range;
    std::string referer;
  };
  std::vector<Logged> log() const {
    std::lock_guard lock(m_mutex);
    return m_log;
  }

 private:
  void waitForRelease() {
    std::unique_lock lock(m_mutex);
    m_releasedChanged.wait_for(lock, 20s, [&] { return m_released; });
  }

  std::map<std::string, std::string> m_files;
  LoopbackServer m_server;
  mutable std::mutex m_mutex;
  std::condition_variable m_releasedChanged;
  bool m_released = false;
  std::vector<Logged> m_log;
};

DownloadRequest RequestFor(const std::string& url, const std::string& savePath, Events& events) {
  DownloadRequest request;
  request.url = url;
  request.savePath = savePath;
  request.connections = 3;
  request.connectTimeoutMs = 2000;
  request.sendTimeoutMs = 2000;
  request.receiveTimeoutMs = 2000;
  request.onEvent = events.handler();
  return request;
}

TEST(DownloaderTest, StoresEverySizeByteForByteOverItsConnections) {
  struct Case {
    const char* name;
    size_t size;
    int64_t minPartBytes;
    int connections;  // expected
  };
  const Case cases[] = {
      {"Empty", 0, 1, 1},
      {"OneByte", 1, 1, 1},
      {"TwoBytesTwoParts", 2, 1, 2},
      {"ThreeBytesThreeParts", 3, 1, 3},
      {"UnevenHundredsOfKilobytes", 300 * 1024 + 7, 1, 3},
      {"SmallFileStaysOnOneConnection", 300 * 1024 + 7, 256 * 1024, 1},
      {"SeveralMegabytes", 5 * 1024 * 1024 + 2, 256 * 1024, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string data = Bytes(c.size);
    FileSite site({{"f.bin", data}});
    TempDir dir;
    Events events;
    DownloadRequest request = RequestFor(site.url("/files/f.bin"), dir.folder(), events);
    request.minPartBytes = c.minPartBytes;
    Downloader downloader;
    ASSERT_TRUE(downloader.start(request));
    ASSERT_TRUE(events.waitForEnd());

    EXPECT_EQ(dir.names(), std::vector<std::string>{"f.bin"});
    EXPECT_TRUE(ReadFile(dir.path() / "f.bin") == data);
    ASSERT_EQ(events.ofType(download_event::kSizeKnown).size(), 1u);
    EXPECT_EQ(events.ofType(download_event::kSizeKnown)[0].value, static_cast<int64_t>(c.size));
    const DownloadEvent end = events.all().back();
    EXPECT_EQ(end.value, static_cast<int64_t>(c.size));
    EXPECT_EQ(end.value2, 1);
    EXPECT_EQ(downloader.doneLength(), static_cast<int64_t>(c.size));
    EXPECT_EQ(static_cast<int>(events.ofType(download_event::kConnectionStarted).size()), c.connections);
    // The parts went out as byte ranges that together cover the file once.
    std::vector<std::string> ranges;
    for (const auto& entry : site.log()) ranges.push_back(entry.range);
    std::sort(ranges.begin(), ranges.end());
    if (c.connections == 3 && c.size > 3) {
      const int64_t third = static_cast<int64_t>(c.size) / 3;
      EXPECT_EQ(ranges, (std::vector<std::string>{"bytes=0-", "bytes=" + std::to_string(third + 1) + "-" + std::to_string(2 * third),
                                                   "bytes=" + std::to_string(2 * third + 1) + "-" + std::to_string(c.size - 1)}))
          << "sizes here leave a remainder of 1 for the first part";
    } else {
      EXPECT_EQ(static_cast<int>(ranges.size()), c.size == 0 ? 1 : c.connections);
    }
    EXPECT_TRUE(WaitFor([&] { return !downloader.running(); }));
  }
}

TEST(DownloaderTest, WithoutSizeOneConnectionAndNoSizeEvent) {
  const std::string data = Bytes(200 * 1024 + 3);
  FileSite site({{"f.bin", data}});
  TempDir dir;
  Events events;
  Downloader downloader;
  ASSERT_TRUE(downloader.start(RequestFor(site.url("/chunked/f.bin"), dir.folder(), events)));
  ASSERT_TRUE(events.waitForEnd());
  EXPECT_TRUE(ReadFile(dir.path() / "f.bin") == data);
  EXPECT_TRUE(events.ofType(download_event::kSizeKnown).empty());
  EXPECT_EQ(events.ofType(download_event::kConnectionStarted).size(), 1u);
  EXPECT_EQ(events.all().back().value2, 1);
}

// Servers that answer a Range with the whole file, or refuse the range of an empty file.
TEST(DownloaderTest, CopesWithServersThatDoNotServeRanges) {
  struct Case {
    const char* name;
    std::string data;
    const char* statusForRange;
  };
  const Case cases[] = {
      {"IgnoresRange", Bytes(700 * 1024), "200 OK"},
      {"RefusesRangeOfEmptyFile", "", "416 Range Not Satisfiable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RawHttpServer server([&c](int fd, const std::string& request) {
      const bool ranged = request.find("Range:") != std::string::npos;
      const std::string status = ranged ? c.statusForRange : "200 OK";
      RawHttpServer::SendAll(fd, "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(c.data.size()) +
                                     "\r\nConnection: close\r\n\r\n" + c.data);
    });
    TempDir dir;
    Events events;
    DownloadRequest request = RequestFor(server.url("/f.bin"), dir.folder(), events);
    request.minPartBytes = 1;
    Downloader downloader;
    ASSERT_TRUE(downloader.start(request));
    ASSERT_TRUE(events.waitForEnd());
    EXPECT_TRUE(ReadFile(dir.path() / "f.bin") == c.data);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"f.bin"});
    ASSERT_EQ(events.ofType(download_event::kSizeKnown).size(), 1u);
    EXPECT_EQ(events.ofType(download_event::kSizeKnown)[0].value, static_cast<int64_t>(c.data.size()));
    EXPECT_EQ(events.all().back().value2, 1);
  }
}

// A broken download ends with event 4 and is never found under the file's name.
TEST(DownloaderTest, BrokenDownloadsEndWithoutTheFinalName) {
  struct Case {
    const char* name;
    const char* path;
    int receiveTimeoutMs;
    const char* reason;  // part of the result's error
    bool partKept;
  };
  const Case cases[] = {
      {"ConnectionDropped", "/drop/f.bin", 2000, "", true},
      {"StallsMidway", "/stall/f.bin", 300, "nothing received", true},
      {"NeverAnswers", "/silent", 300, "no answer", false},
      {"NotFound", "/files/none.bin", 2000, "404", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FileSite site({{"f.bin", Bytes(600 * 1024)}});
    TempDir dir;
    Events events;
    DownloadRequest request = RequestFor(site.url(c.path), (dir.path() / "f.bin").string(), events);
    request.receiveTimeoutMs = c.receiveTimeoutMs;
    request.sendTimeoutMs = 100;
    Downloader downloader;
    ASSERT_TRUE(downloader.start(request));
    ASSERT_TRUE(events.waitForEnd());
    EXPECT_EQ(events.ofType(download_event::kTaskEnded).size(), 1u);
    EXPECT_EQ(events.all().back().value2, 0);
    EXPECT_FALSE(fs::exists(dir.path() / "f.bin"));
    EXPECT_EQ(fs::exists(dir.path() / "f.bin.part"), c.partKept);
    const auto result = downloader.result();
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->complete);
    EXPECT_NE(result->error.find(c.reason), std::string::npos) << result->error;
    EXPECT_EQ(events.all().back().value, downloader.doneLength());
    site.release();
  }
}

TEST(DownloaderTest, ExistingFileIsLeftAloneUnlessReplacingIsAnswered) {
  struct Case {
    const char* name;
    int answer;
    std::vector<std::string> names;
    const char* newFile;
  };
  const Case cases[] = {
      {"AnotherName", 0, {"f (1).bin", "f.bin"}, "f (1).bin"},
      {"Replaced", 1, {"f.bin"}, "f.bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string data = Bytes(300 * 1024);
    FileSite site({{"f.bin", data}});
    TempDir dir;
    WriteFile(dir.path() / "f.bin", "old");
    Events events;
    DownloadRequest request = RequestFor(site.url("/files/f.bin"), dir.folder(), events);
    request.onEvent = events.handler(c.answer);
    Downloader downloader;
    ASSERT_TRUE(downloader.start(request));
    ASSERT_TRUE(events.waitForEnd());
    const auto exists = events.ofType(download_event::kFileExists);
    ASSERT_EQ(exists.size(), 1u);
    EXPECT_EQ(exists[0].value, 3);
    EXPECT_EQ(dir.names(), c.names);
    EXPECT_TRUE(ReadFile(dir.path() / c.newFile) == data);
    if (c.answer == 0) {
      EXPECT_EQ(ReadFile(dir.path() / "f.bin"), "old");
    }
    EXPECT_EQ(downloader.result()->path, (dir.path() / c.newFile).string());
  }
}

TEST(DownloaderTest, NamesTheFileAfterTheServerTheAddressOrTheGivenPath) {
  struct Case {
    const char* name;
    const char* path;
    std::string savePath;  // relative to the folder; "" for the folder itself
    const char* expected;  // relative to the folder
  };
  const Case cases[] = {
      {"ContentDisposition", "/named", "", "setup 2.exe"},
      {"LastSegmentPercentDecoded", "/files/Rizavud1.1%E7%89%88.exe?v=2", "", "Rizavud1.1版.exe"},
      {"NonAsciiAddressGoesOutEncoded", "/files/Rizavud1.1版.exe", "", "Rizavud1.1版.exe"},
      {"FolderEndingInBackslash", "/files/Rizavud1.1版.exe", "\\", "Rizavud1.1版.exe"},
      {"MissingFolderIsMade", "/files/Rizavud1.1版.exe", "Desktop/", "Desktop/Rizavud1.1版.exe"},
      {"FullPath", "/named", "given.bin", "given.bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string data = Bytes(1000);
    FileSite site({{"Rizavud1.1版.exe", data}});
    TempDir dir;
    Events events;
    const std::string savePath =
        c.savePath == "\\" ? dir.path().string() + "\\" : dir.folder() + c.savePath;
    Downloader downloader;
    ASSERT_TRUE(downloader.start(RequestFor(site.url(c.path), savePath, events)));
    ASSERT_TRUE(events.waitForEnd());
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), dir.path()).string());
    }
    EXPECT_EQ(files, std::vector<std::string>{c.expected});
    EXPECT_TRUE(ReadFile(dir.path() / c.expected) == data);
  }
}

TEST(DownloaderTest, SendsTheRefererAndUsesOnlyTheGivenProxy) {
  const std::string data = Bytes(100);
  FileSite site({{"f.bin", data}});
  struct Case {
    const char* name;
    std::optional<std::string> referer;
    std::string expected;
  };
  const Case cases[] = {
      {"DefaultIsTheAddressUpToItsLastSlash", std::nullopt, site.url("/files/")},
      {"Given", "http://example.com/page", "http://example.com/page"},
  };
  // A proxy in the environment must not be taken when none is given.
  ::setenv("http_proxy", "http://127.0.0.1:9", 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    Events events;
    DownloadRequest request = RequestFor(site.url("/files/f.bin"), dir.folder(), events);
    request.referer = c.referer;
    Downloader downloader;
    ASSERT_TRUE(downloader.start(request));
    ASSERT_TRUE(events.waitForEnd());
    EXPECT_EQ(events.all().back().value2, 1);
    ASSERT_FALSE(site.log().empty());
    EXPECT_EQ(site.log().back().referer, c.expected);
  }
  ::unsetenv("http_proxy");

  RawHttpServer proxy([&data](int fd, const std::string&) {
    RawHttpServer::SendAll(fd, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(data.size()) +
                                   "\r\nConnection: close\r\n\r\n" + data);
  });
  TempDir dir;
  Events events;
  DownloadRequest request = RequestFor("http://updates.example.com/f.bin", dir.folder(), events);
  request.proxy = "http://127.0.0.1:" + std::to_string(proxy.port());
  Downloader downloader;
  ASSERT_TRUE(downloader.start(request));
  ASSERT_TRUE(events.waitForEnd());
  EXPECT_TRUE(ReadFile(dir.path() / "f.bin") == data);
  ASSERT_FALSE(proxy.requests().empty());
  EXPECT_EQ(proxy.requests()[0].rfind("GET http://updates.example.com/f.bin HTTP/1.1\r\n", 0), 0u)
      << proxy.requests()[0];
}

TEST(DownloaderTest, RefusesASecondTaskAndAddressesItCannotFetch) {
  FileSite site({{"f.bin", Bytes(10)}});
  TempDir dir;
  struct Case {
    const char* name;
    std::string url;
    bool accepted;
  };
  const Case cases[] = {
      {"Empty", "", false},
      {"Gopher", "gopher://127.0.0.1/f.bin", false},
      {"NoScheme", "127.0.0.1/f.bin", false},
      {"Mms", "mms://127.0.0.1/f.bin", false},
      {"Http", site.url("/files/f.bin"), true},
      {"HttpsUpperCase", "HTTPS://127.0.0.1:1/f.bin", true},
      {"Ftp", "ftp://127.0.0.1:1/f.bin", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Events events;
    Downloader downloader;
    EXPECT_EQ(downloader.start(RequestFor(c.url, dir.folder() + "x", events)), c.accepted);
    if (c.accepted) {
      EXPECT_TRUE(events.waitForEnd());
    } else {
      EXPECT_FALSE(downloader.running());
      EXPECT_TRUE(events.all().empty());
    }
  }

  // A second task while one runs is refused; after the first has ended another may start.
  Events events;
  Downloader downloader;
  ASSERT_TRUE(downloader.start(RequestFor(site.url("/silent"), dir.folder() + "a", events)));
  EXPECT_FALSE(downloader.start(RequestFor(site.url("/files/f.bin"), dir.folder() + "b", events)));
  site.release();
  ASSERT_TRUE(events.waitForEnd());
  ASSERT_TRUE(WaitFor([&] { return !downloader.running(); }));
  Events again;
  EXPECT_TRUE(downloader.start(RequestFor(site.url("/files/f.bin"), dir.folder() + "b", again)));
  EXPECT_TRUE(again.waitForEnd());
  EXPECT_TRUE(fs::exists(dir.path() / "b"));
}

// An FTP server on a loopback port from the system's pyftpdlib (Debian's python3-pyftpdlib);
// unavailable when that is not installed.
class FtpServer {
 public:
  explicit FtpServer(const fs::path& root) {
    int out[2];
    if (::pipe(out) != 0) return;
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, STDERR_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      const char* script =
          "import sys\n"
          "from pyftpdlib.authorizers import DummyAuthorizer\n"
          "from pyftpdlib.handlers import FTPHandler\n"
          "from pyftpdlib.servers import FTPServer\n"
          "a = DummyAuthorizer(); a.add_user('updater', 'secret', sys.argv[1], perm='elr')\n"
          "FTPHandler.authorizer = a; FTPHandler.auth_failed_timeout = 0.1\n"
          "s = FTPServer(('127.0.0.1', 0), FTPHandler); print(s.address[1], flush=True)\n"
          "s.serve_forever()\n";
      ::execl("/usr/bin/python3", "python3", "-c", script, root.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
    ::close(out[0]);
    m_port = std::atoi(line.c_str());
  }
  ~FtpServer() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
  }
  bool available() const { return m_port > 0; }
  std::string url(const std::string& path) const { return "ftp://127.0.0.1:" + std::to_string(m_port) + path; }

 private:
  pid_t m_pid = -1;
  int m_port = 0;
};

TEST(DownloaderTest, FetchesOverFtpWithItsLogin) {
  TempDir served;
  const std::string data = Bytes(300 * 1024 + 1);
  WriteFile(served.path() / "f.bin", data);
  FtpServer server(served.path());
  if (!server.available()) GTEST_SKIP() << "no pyftpdlib for /usr/bin/python3";
  struct Case {
    const char* name;
    const char* password;
    bool complete;
  };
  const Case cases[] = {{"RightLogin", "secret", true}, {"WrongPassword", "guess", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    Events events;
    DownloadRequest request = RequestFor(server.url("/f.bin"), dir.folder(), events);
    request.userName = "updater";
    request.password = c.password;
    Downloader downloader;
    ASSERT_TRUE(downloader.start(request));
    ASSERT_TRUE(events.waitForEnd());
    EXPECT_EQ(events.all().back().value2, c.complete ? 1 : 0);
    EXPECT_EQ(fs::exists(dir.path() / "f.bin"), c.complete);
    if (c.complete) {
      EXPECT_TRUE(ReadFile(dir.path() / "f.bin") == data);
      ASSERT_EQ(events.ofType(download_event::kSizeKnown).size(), 1u);
      EXPECT_EQ(events.ofType(download_event::kSizeKnown)[0].value, static_cast<int64_t>(data.size()));
    }
  }
}

TEST(DownloaderTest, DoneLengthGrowsWhileRunning) {
  const std::string data = Bytes(400 * 1024);
  FileSite site({{"f.bin", data}});
  TempDir dir;
  Events events;
  Downloader downloader;
  EXPECT_EQ(downloader.doneLength(), 0);
  ASSERT_TRUE(downloader.start(RequestFor(site.url("/gated/f.bin"), dir.folder(), events)));
  ASSERT_TRUE(WaitFor([&] { return downloader.doneLength() == static_cast<int64_t>(data.size() / 2); }))
      << downloader.doneLength();
  EXPECT_TRUE(downloader.running());
  EXPECT_TRUE(events.ofType(download_event::kTaskEnded).empty());
  EXPECT_FALSE(fs::exists(dir.path() / "f.bin"));
  site.release();
  ASSERT_TRUE(events.waitForEnd());
  EXPECT_EQ(downloader.doneLength(), static_cast<int64_t>(data.size()));
  EXPECT_TRUE(ReadFile(dir.path() / "f.bin") == data);
}

TEST(DownloaderTest, DestructionStopsTheConnectionsAndLeavesNoThread) {
  FileSite site({{"f.bin", Bytes(600 * 1024)}});
  TempDir dir;
  Events events;
  auto downloader = std::make_unique<Downloader>();
  DownloadRequest request = RequestFor(site.url("/stall/f.bin"), dir.folder(), events);
  request.receiveTimeoutMs = 60000;
  request.stopWaitMs = 1000;
  ASSERT_TRUE(downloader->start(request));
  ASSERT_TRUE(WaitFor([&] { return downloader->doneLength() >= 1000; }));
  const int threadsWhileRunning = ThreadCount();  // the server's threads are all up by now

  const auto begin = std::chrono::steady_clock::now();
  downloader.reset();
  const auto took = std::chrono::steady_clock::now() - begin;
  RecordProperty("destruction_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
  EXPECT_LT(took, 5s);  // stopWaitMs plus a generous margin
  EXPECT_EQ(ThreadCount(), threadsWhileRunning - 1);
  site.release();
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(events.ofType(download_event::kTaskEnded).empty()) << "nobody is left to tell";
  EXPECT_FALSE(fs::exists(dir.path() / "f.bin"));
  EXPECT_TRUE(fs::exists(dir.path() / "f.bin.part"));
}

// The owner may be what a callback waits on (the program ends itself from the final event):
// destruction does not wait for a thread inside a callback beyond the connections' stop wait, and
// that thread ends on its own once the callback returns, starting no other callback.
TEST(DownloaderTest, DestructionDoesNotWaitForAThreadInACallback) {
  struct Case {
    const char* name;
    int blockingType;
    bool fileStored;
  };
  const Case cases[] = {
      {"FinalEvent", download_event::kTaskEnded, true},
      {"FileExistsQuestion", download_event::kFileExists, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FileSite site({{"f.bin", Bytes(1000)}});
    TempDir dir;
    WriteFile(dir.path() / "old.bin", "old");
    // Shared with the callback, which may still be returning when this test goes on.
    struct Gate {
      std::mutex mutex;
      std::condition_variable changed;
      bool inCallback = false;
      bool release = false;
      std::atomic<bool> returned{false};
      std::atomic<int> callsAfterReturn{0};
    };
    const auto gate = std::make_shared<Gate>();

    auto downloader = std::make_unique<Downloader>();
    DownloadRequest request;
    request.url = site.url("/files/f.bin");
    request.savePath = c.blockingType == download_event::kFileExists ? (dir.path() / "old.bin").string() : dir.folder();
    request.stopWaitMs = 200;
    request.onEvent = [gate, blockingType = c.blockingType](const DownloadEvent& event) {
      if (gate->returned) ++gate->callsAfterReturn;
      if (event.type != blockingType) return 0;
      std::unique_lock lock(gate->mutex);
      gate->inCallback = true;
      gate->changed.notify_all();
      gate->changed.wait(lock, [&] { return gate->release; });
      gate->returned = true;
      return 0;
    };
    ASSERT_TRUE(downloader->start(request));
    {
      std::unique_lock lock(gate->mutex);
      ASSERT_TRUE(gate->changed.wait_for(lock, 10s, [&] { return gate->inCallback; }));
    }
    const int threadsWhileInCallback = ThreadCount();
    const auto begin = std::chrono::steady_clock::now();
    downloader.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 5s);
    EXPECT_FALSE(gate->returned);
    {
      std::lock_guard lock(gate->mutex);
      gate->release = true;
    }
    gate->changed.notify_all();
    EXPECT_TRUE(WaitFor([&] { return gate->returned && ThreadCount() == threadsWhileInCallback - 1; }))
        << ThreadCount() << " threads, " << threadsWhileInCallback << " while in the callback";
    EXPECT_EQ(gate->callsAfterReturn, 0);
    EXPECT_EQ(fs::exists(dir.path() / "f.bin"), c.fileStored);
    EXPECT_EQ(ReadFile(dir.path() / "old.bin"), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "old (1).bin"));
  }
}

}  // namespace
}  // namespace zedade
