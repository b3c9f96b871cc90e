#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

#include "app/program_state.h"
#include "config/addresses.h"

namespace zedade {

[[noreturn]] void EndProgram(int exitCode);
struct UpdateContext;

namespace ui {
class MainWindow;
class FullParseWindow;
}  // namespace ui

// The program: start-up, the message loop, shutdown. One instance runs per process.
class Program final : public QObject {
  Q_OBJECT

 public:
  explicit Program(Addresses addresses);
  ~Program() override;

  // Start-up steps from InitGlobals on: loads the main window, runs the loop until no window of
  // the program is left, releases the state, and returns the exit code 0.
  int run();

  // The program that is running, if any.
  static Program* current();

  const Addresses& addresses() const { return m_addresses; }
  ProgramState& state() { return *m_state; }
  ui::MainWindow* mainWindow() const;

  // Observers for tests: called as FreeGlobals runs (with how many times it has run).
  static void SetFreeGlobalsObserver(std::function<void(int runs)> observer);

 private:
  friend void EndProgram(int exitCode);

  void InitGlobals();
  void FreeGlobals();
  void onMainWindowCreated(ui::MainWindow& window);
  void runUpdateDownloadWindow();
  [[noreturn]] void endOnUiThread(int exitCode);

  Addresses m_addresses;
  std::unique_ptr<ProgramState> m_state;
  // The update's size as the downloader reports it, from its thread; lives as long as the process,
  // like the context that the download's events reach.
  std::atomic<double> m_totalSize{0.0};
  std::unique_ptr<UpdateContext> m_updateContext;
  QPointer<ui::MainWindow> m_mainWindow;  // null once the window is gone
  bool m_loopRunning = false;
  int m_freeGlobalsRuns = 0;
};

// Runs the shutdown and ends the process at once with the exit code; does not return. From another
// thread than the user-interface thread the work is handed to that thread while the caller waits.
[[noreturn]] void EndProgram(int exitCode);

}  // namespace zedade
