// The program's whole life, each run in a child process: how it ends, with which exit code, and
// that the shutdown runs exactly once on the user-interface thread.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <thread>

#include "app/program.h"
#include "program_harness.h"
#include "platform/fatal.h"
#include "platform/message_box.h"
#include "ui/full_parse_window.h"
#include "ui/main_window.h"

namespace zedade {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::MessageBoxAnswerer;
using testing::RecordingSite;

using testing::onlyTheStartUpBoxAnswered;
using testing::ProgramRun;
using testing::runProgramAndExit;
using testing::ShutdownRanOnceOnUiThread;

TEST(LifecycleDeathTest, ClosingTheLastWindowEndsWithZero) {
  EXPECT_EXIT(runProgramAndExit([](Program& program) { program.mainWindow()->close(); }), ::testing::ExitedWithCode(0),
              ShutdownRanOnceOnUiThread());
}

TEST(LifecycleDeathTest, EscInTheOnlyWindowEndsNormally) {
  EXPECT_EXIT(runProgramAndExit([](Program& program) {
                ui::MainWindow* window = program.mainWindow();
                window->activateWindow();
                if (!QTest::qWaitForWindowActive(window)) std::fprintf(stderr, "window never active\n");
                QTest::keyClick(window, Qt::Key_Escape);
              }),
              ::testing::ExitedWithCode(0), ShutdownRanOnceOnUiThread());
}

TEST(LifecycleDeathTest, FullParseWindowKeepsTheProgramRunningAfterTheMainWindowCloses) {
  EXPECT_EXIT(runProgramAndExit([](Program& program) {
                program.mainWindow()->button("按钮3")->click();
                program.mainWindow()->close();
                QTimer::singleShot(1000, [] {
                  std::fprintf(stderr, "still running with %s\n",
                               ui::FullParseWindow::current() ? "the full parse window" : "nothing");
                  ui::FullParseWindow::current()->close();
                });
              }),
              ::testing::ExitedWithCode(0),
              AllOf(HasSubstr("still running with the full parse window"), ShutdownRanOnceOnUiThread()));
}

TEST(LifecycleDeathTest, EndProgramFromAnotherThreadDuringAMessageBoxShutsDownOnTheUiThread) {
  EXPECT_EXIT(runProgramAndExit([](Program&) {
                // While the box waits for an answer, another thread ends the program.
                QTimer::singleShot(0, [] {
                  std::thread([] {
                    QThread::msleep(200);
                    EndProgram(0);
                  }).detach();
                });
                ShowMessageBox(Gbk("waiting"), 0);
                std::fprintf(stderr, "the message box returned\n");
              }, onlyTheStartUpBoxAnswered()),
              ::testing::ExitedWithCode(0), AllOf(ShutdownRanOnceOnUiThread(), Not(HasSubstr("returned"))));
}

TEST(LifecycleDeathTest, UnreachableAnnouncementClosesTheWindowAndEndsWithZero) {
  ProgramRun run;
  run.adjustAddresses = [](Addresses& addresses) { addresses.announcementUrl = "http://127.0.0.1:1/gone.html"; };
  EXPECT_EXIT(runProgramAndExit(nullptr, run), ::testing::ExitedWithCode(0),
              AllOf(HasSubstr("the main window was never shown"), ShutdownRanOnceOnUiThread()));
}

TEST(LifecycleDeathTest, EndProgramInsideTheCreatedHandlerNeverShowsTheWindow) {
  ProgramRun run;
  run.site.announcedVersion = "1.3";
  run.answers = {QMessageBox::No, QMessageBox::Yes};  // no download; open the official page
  EXPECT_EXIT(runProgramAndExit(nullptr, run), ::testing::ExitedWithCode(0),
              AllOf(ShutdownRanOnceOnUiThread(), Not(HasSubstr("the main window was"))));
}

TEST(LifecycleDeathTest, FatalErrorEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        MessageBoxAnswerer answerer;
        FatalError("the main window could not be created");
      },
      ::testing::ExitedWithCode(255), HasSubstr("the main window could not be created"));
}

}  // namespace
}  // namespace zedade
