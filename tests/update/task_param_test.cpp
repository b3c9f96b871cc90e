#include "update/task_param.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "loopback_server.h"
#include "platform/text.h"

namespace zedade {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(TaskParamTest, TrimsOnlyAsciiAndIdeographicSpacesFromTheEnds) {
  const Text ideographic = "\xA1\xA1";
  const Text ah = "\xB0\xA1";  // one character whose second byte is A1
  struct Case {
    const char* name;
    Text address;
    Text expected;
  };
  const Case cases[] = {
      {"AsciiSpaces", "  http://h/a b.exe  ", "http://h/a b.exe"},
      {"IdeographicSpaces", ideographic + "http://h/x" + ideographic + " " + ideographic, "http://h/x"},
      {"LineBreakStays", " http://h/x\r\n ", "http://h/x\r\n"},
      {"TabStays", "\thttp://h/x ", "\thttp://h/x"},
      {"CharacterEndingInA1", "x" + ah + ideographic, "x" + ah},
      {"LoneA1AfterCharacter", "x" + ah + "\xA1", "x" + ah + "\xA1"},
      {"OnlySpaces", " " + ideographic + " ", ""},
      {"Empty", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimAddressSpaces(c.address), c.expected) << c.name;
}

TEST(TaskParamTest, UpdateTaskSetsItsColumnAndKeepsTheRest) {
  TaskParam param;
  param.Proxy = "http://127.0.0.1:3128";  // not the update's to change
  SetUpdateTask(param, " http://h/u.exe ", "/home/u/Desktop", [](int, int, int64_t, int64_t, Download*) { return 0; });
  EXPECT_EQ(param.Flags, kTaskDownload);
  EXPECT_EQ(param.Url, "http://h/u.exe");
  EXPECT_EQ(param.SavePath, "/home/u/Desktop\\");
  EXPECT_EQ(param.ThreadCount, 3);
  EXPECT_EQ(param.ConnectTimeout, 5000);
  EXPECT_EQ(param.SendTimeout, 5001);
  EXPECT_EQ(param.ReceiveTimeout, 10000);
  EXPECT_EQ(param.StopWait, 1000);
  EXPECT_EQ(param.ReceiveBlockSize, 10240);
  EXPECT_TRUE(param.EventCallback);
  const TaskParam defaults;
  EXPECT_EQ(param.UserName, defaults.UserName);
  EXPECT_EQ(param.Password, defaults.Password);
  EXPECT_EQ(param.SpeedLimit, 0);
  EXPECT_EQ(param.SendBlockSize, 1024);
  EXPECT_EQ(param.FtpTransferMode, 1);
  EXPECT_EQ(param.BinaryExtensions, ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm");
  EXPECT_EQ(param.Proxy, "http://127.0.0.1:3128");
  EXPECT_FALSE(param.Referer.has_value());
  EXPECT_FALSE(param.LogCallback);
}

// The update task end to end: GBK address and desktop folder in, the file under its Chinese name
// on disk, events with the task, the done length.
TEST(TaskParamTest, UpdateTaskDownloadsIntoTheDesktopFolder) {
  const std::string body(300 * 1024 + 5, 'u');
  testing::LoopbackServer server;
  server.server().Get("/Rizavud1.1版.exe", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(body, "application/octet-stream");
  });
  server.start();
  std::string pattern = (fs::temp_directory_path() / "zedade-desktop-XXXXXX").string();
  const fs::path desktop = ::mkdtemp(pattern.data());

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<int, int64_t>> events;
  std::vector<Download*> tasks;
  Download download;
  EXPECT_EQ(GetDoneLength(download), 0);
  TaskParam param;
  SetUpdateTask(param, Gbk("\u3000 " + server.url("/Rizavud1.1版.exe") + " "), Gbk(desktop.string()),
                [&](int type, int, int64_t value, int64_t, Download* task) {
                  std::lock_guard lock(mutex);
                  events.emplace_back(type, value);
                  tasks.push_back(task);
                  changed.notify_all();
                  return 0;
                });
  ASSERT_TRUE(AddTask(download, param));
  EXPECT_FALSE(AddTask(download, param)) << "one task at a time";
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, 20s, [&] { return !events.empty() && events.back().first == kTaskEventEnded; }));
    const auto size = static_cast<int64_t>(body.size());
    EXPECT_EQ(std::count(events.begin(), events.end(), std::pair(kTaskEventSizeKnown, size)), 1);
    EXPECT_EQ(events.back(), std::pair(kTaskEventEnded, size));
    EXPECT_EQ(std::count(tasks.begin(), tasks.end(), &download), static_cast<long>(tasks.size()));
  }
  EXPECT_EQ(GetDoneLength(download), static_cast<int64_t>(body.size()));
  std::ifstream file(desktop / "Rizavud1.1版.exe", std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(file), {}) == body);
  fs::remove_all(desktop);
}

TEST(TaskParamTest, AddTaskRefusesAddressesItCannotFetch) {
  struct Case {
    const char* name;
    Text url;
  };
  const Case cases[] = {{"Empty", ""}, {"OnlySpaces", "   "}, {"Gopher", "gopher://127.0.0.1/u.exe"}};
  for (const Case& c : cases) {
    Download download;
    TaskParam param;
    SetUpdateTask(param, c.url, "/tmp", nullptr);
    EXPECT_FALSE(AddTask(download, param)) << c.name;
    EXPECT_EQ(GetDoneLength(download), 0);
  }
}

}  // namespace
}  // namespace zedade
