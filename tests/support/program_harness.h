#pragma once

// Runs the whole program in a child process of a death test, against the stand-in site.

#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>

#include "app/program.h"
#include "message_box_answerer.h"
#include "recording_server.h"
#include "ui/main_window.h"

namespace zedade::testing {

// Reports each FreeGlobals run on stderr, with the thread it ran on.
inline void watchShutdown() {
  Program::SetFreeGlobalsObserver([](int runs) {
    const bool onUi = QThread::currentThread() == QCoreApplication::instance()->thread();
    std::fprintf(stderr, "FreeGlobals run %d on %s thread\n", runs, onUi ? "the UI" : "another");
  });
}

inline auto ShutdownRanOnceOnUiThread() {
  using ::testing::AllOf;
  using ::testing::HasSubstr;
  using ::testing::Not;
  return AllOf(HasSubstr("FreeGlobals run 1 on the UI thread"), Not(HasSubstr("FreeGlobals run 2")));
}

struct ProgramRun {
  standin::SiteOptions site;                        // what the stand-in site announces
  std::function<void(Addresses&)> adjustAddresses;  // e.g. an unreachable announcement
  std::deque<QMessageBox::StandardButton> answers;  // answers to the program's message boxes
  int answerLimit = -1;  // boxes after this many stay open
};

inline ProgramRun onlyTheStartUpBoxAnswered() {
  ProgramRun run;
  run.answerLimit = 1;
  return run;
}

// Runs the program against a stand-in site, with `scenario` started once the main window is up;
// returns what run() returned.
inline int runProgram(const std::function<void(Program&)>& scenario, const ProgramRun& run) {
  RecordingSite site(run.site);
  MessageBoxAnswerer answerer(run.answers);
  answerer.setAnswerLimit(run.answerLimit);
  watchShutdown();
  Addresses addresses = Addresses::onHost(site.hostPort());
  if (run.adjustAddresses) run.adjustAddresses(addresses);
  Program program(addresses);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!program.mainWindow() || !program.mainWindow()->isVisible()) return;
    poll.stop();
    if (scenario) scenario(program);
  });
  poll.start(50);
  const int code = program.run();
  std::fprintf(stderr, "the main window was %s\n", poll.isActive() ? "never shown" : "shown");
  return code;
}

// The child ends with the code that run() returned. The test's own application object outlives the
// program here, so the child skips the process's static teardown.
[[noreturn]] inline void runProgramAndExit(const std::function<void(Program&)>& scenario, const ProgramRun& run = {}) {
  const int code = runProgram(scenario, run);
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace zedade::testing
