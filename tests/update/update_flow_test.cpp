// The self-update from the announcement to the started update program, in a child process
// running the whole program against the stand-in site (whose update program leaves a note).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "program_harness.h"
#include "standin_pages.h"
#include "ui/update_download_window.h"

namespace zedade {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::ProgramRun;
using testing::runProgramAndExit;

// A home folder of the test's own, the same in the parent and the child.
fs::path freshHome(const char* name) {
  const fs::path home = fs::temp_directory_path() / (std::string("zedade-update-") + name);
  fs::remove_all(home);
  fs::create_directories(home);
  return home;
}

// Prints the update window's labels and bar whenever they change.
void reportUpdateWindow() {
  static std::string last;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<ui::UpdateDownloadWindow*>(widget);
    if (!window) continue;
    const std::string now = window->label("透明标签1")->text().toStdString() + " | " +
                            window->label("透明标签2")->text().toStdString() + " | " +
                            window->label("透明标签3")->text().toStdString() + " | bar " +
                            std::to_string(window->progressBar()->value());
    if (now != last) std::fprintf(stderr, "update window: %s\n", now.c_str());
    last = now;
  }
}

ProgramRun newerVersionAcceptedWith(const fs::path& home) {
  ProgramRun run;
  run.site.announcedVersion = "1.3";
  run.answers = {QMessageBox::Yes};  // download it; the completion message is answered with OK
  run.adjustAddresses = [home](Addresses&) {
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    auto* watch = new QTimer(QCoreApplication::instance());
    QObject::connect(watch, &QTimer::timeout, reportUpdateWindow);
    watch->start(100);
  };
  return run;
}

TEST(UpdateFlowDeathTest, DownloadsStartsTheUpdateAndEnds) {
  const fs::path home = freshHome("complete");
  char totalKb[32];  // the file's size in KB to two decimals, as the window writes it
  std::snprintf(totalKb, sizeof totalKb, "%.13g",
                std::floor(static_cast<double>(standin::UpdateProgram().size()) * 100 / 1024 + 0.5) / 100);
  const std::string kb = std::string(totalKb) + "KB";
  EXPECT_EXIT(runProgramAndExit(nullptr, newerVersionAcceptedWith(home)), ::testing::ExitedWithCode(0),
              AllOf(HasSubstr("update window: 等待指令 | 等候指令…… | 等候指令……"),
                    HasSubstr("update window: 已完成：100% | 已下载：" + kb + " | 总大小：" + kb + " | bar 100"),
                    testing::ShutdownRanOnceOnUiThread()));
  const fs::path desktop = home / "Desktop";
  const fs::path update = desktop / "Rizavud1.1版.exe";
  ASSERT_TRUE(fs::exists(update));
  EXPECT_EQ(fs::file_size(update), standin::UpdateProgram().size());
  EXPECT_TRUE(fs::exists(desktop / "zedade-update-started.txt")) << "the update program was started";
}

TEST(UpdateFlowDeathTest, EscBeforeTheUpdateStartsEndsWithoutStartingIt) {
  const fs::path home = freshHome("esc");
  ProgramRun run = newerVersionAcceptedWith(home);
  const auto watchAndWindow = run.adjustAddresses;
  run.adjustAddresses = [watchAndWindow](Addresses& addresses) {
    watchAndWindow(addresses);
    // Close the window with Esc one second after it shows: the download is done by then and the
    // program waits its two seconds before telling the user.
    auto* esc = new QTimer(QCoreApplication::instance());
    QObject::connect(esc, &QTimer::timeout, [esc] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<ui::UpdateDownloadWindow*>(widget);
        if (!window || !window->isVisible()) continue;
        esc->stop();
        QTimer::singleShot(1000, window, [window] {
          window->activateWindow();
          if (!QTest::qWaitForWindowActive(window)) std::fprintf(stderr, "not active\n");
          QTest::keyClick(window, Qt::Key_Escape);
        });
      }
    });
    esc->start(50);
  };
  EXPECT_EXIT(runProgramAndExit(nullptr, run), ::testing::ExitedWithCode(0),
              AllOf(testing::ShutdownRanOnceOnUiThread(), Not(HasSubstr("下载完成"))));
  EXPECT_FALSE(fs::exists(home / "Desktop" / "zedade-update-started.txt"));
}

}  // namespace
}  // namespace zedade
