#include "app/program.h"

#include "app/bindings.h"

#include <QApplication>
#include <QPointer>

#include <cstdio>
#include <cstdlib>

#include "platform/files.h"
#include "platform/html_viewer.h"
#include "platform/window_layer.h"
#include "platform/ui_thread.h"
#include "skin/attach_skin.h"
#include "skin/skin_data.h"
#include "ui/main_window.h"
#include "ui/update_download_window.h"
#include "update/announcement_check.h"
#include "update/update_download.h"
#include "ui/window_registry.h"

namespace zedade {
namespace {

Program* g_program = nullptr;
std::function<void(int)> g_freeGlobalsObserver;

}  // namespace

Program::Program(Addresses addresses) : m_addresses(std::move(addresses)) { g_program = this; }

Program::~Program() {
  if (g_program == this) g_program = nullptr;
}

Program* Program::current() { return g_program; }

ui::MainWindow* Program::mainWindow() const { return m_mainWindow.data(); }

void Program::SetFreeGlobalsObserver(std::function<void(int)> observer) { g_freeGlobalsObserver = std::move(observer); }

int Program::run() {
  InitGlobals();
  QApplication::setQuitOnLastWindowClosed(false);
  connect(&ui::WindowRegistry::instance(), &ui::WindowRegistry::lastWindowDestroyed, this, [this] {
    if (m_loopRunning) QCoreApplication::quit();
  });

  m_mainWindow = ui::MainWindow::Load([this](ui::MainWindow& window) { onMainWindowCreated(window); });

  m_loopRunning = true;
  // A destruction requested before the loop began is carried out as the loop starts and ends it
  // through the registry; a window that was already gone before the loop began ends it here.
  QMetaObject::invokeMethod(this, [] {
    if (ui::WindowRegistry::instance().count() == 0) QCoreApplication::quit();
  }, Qt::QueuedConnection);
  QCoreApplication::exec();
  m_loopRunning = false;

  FreeGlobals();
  // Pages still open (pop-ups of a closed window) go before their profile, and the profile before
  // the application object.
  QList<QPointer<QWidget>> leftOver;
  for (QWidget* widget : QApplication::topLevelWidgets()) leftOver.append(widget);
  for (const QPointer<QWidget>& widget : leftOver) delete widget.data();  // may already have gone with its parent
  HtmlViewer::ReleaseSharedProfile();
  return 0;
}

void Program::InitGlobals() {
  m_state = std::make_unique<ProgramState>();
  SetActiveSubclassTable(&m_state->subclassTable);
}

void Program::FreeGlobals() {
  if (m_freeGlobalsRuns > 0) return;
  ++m_freeGlobalsRuns;
  // The guard's procedures stay on their windows; they stop consulting the table before it goes.
  SetActiveSubclassTable(nullptr);
  for (auto& record : m_state->subclassTable) record.reset();
  m_state->subclassTable.clear();
  m_state->currentVersion.reset();
  m_state->updateAddress.reset();
  m_state->taskParam.reset();
  // Stops a running download, waiting at most its StopWait for the connections.
  m_state->download.reset();
  m_state.reset();
  if (g_freeGlobalsObserver) g_freeGlobalsObserver(m_freeGlobalsRuns);
}

void Program::onMainWindowCreated(ui::MainWindow& window) {
  BindMainWindow(window, m_addresses, m_state->subclassTable);
  m_state->currentVersion = Gbk("1.2");
  const AnnouncementCheckHooks hooks{
      [this] { runUpdateDownloadWindow(); },
      [](int exitCode) { EndProgram(exitCode); },
  };
  RunAnnouncementCheck(window, m_addresses, *m_state->currentVersion, m_state->updateAddress, hooks);
  AttachSkin(kProgramSkin);
  GuardWindowTree(m_state->subclassTable, HandleOf(window.browser()));
}

void Program::runUpdateDownloadWindow() {
  m_updateContext.reset(new UpdateContext{*m_state->taskParam,
                                          *m_state->download,
                                          m_totalSize,
                                          m_state->updateAddress,
                                          [] { AttachSkin(kProgramSkin); },
                                          [](int exitCode) { EndProgram(exitCode); },
                                          DesktopFolder()});
  ui::UpdateDownloadWindow::RunModal([this](ui::UpdateDownloadWindow& window) {
    OnUpdateDownloadWindowCreated(window, *m_updateContext);
  });
}

void Program::endOnUiThread(int exitCode) {
  FreeGlobals();
  // The process ends here: loaded libraries and open windows go with it, and no handler of the
  // program runs after the state is released.
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

void EndProgram(int exitCode) {
  if (!OnUiThread()) {
    RunOnUiThreadBlocking([exitCode] { EndProgram(exitCode); });
    std::abort();  // not reached: the user-interface thread has ended the process
  }
  if (g_program) g_program->endOnUiThread(exitCode);
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

}  // namespace zedade
