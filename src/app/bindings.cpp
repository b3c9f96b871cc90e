#include "app/bindings.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/html_viewer.h"
#include "playback/new_window_guard.h"
#include "playback/play_button.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/window_layer.h"
#include "search/search_handlers.h"
#include "ui/full_parse_window.h"
#include "ui/list_view.h"
#include "ui/main_window.h"
#include "ui/main_window_timers.h"
#include "ui/site_directory.h"
#include "ui/tree_box.h"

namespace zedade {

void BindMainWindow(ui::MainWindow& window, const Addresses& addresses, SubclassTable& guardedWindows) {
  struct PlayButton {
    const char* button;
    const char* editBox;
    std::string prefix;
  };
  const PlayButton playButtons[] = {
      {"按钮1", "编辑框1", addresses.universalParser},
      {"按钮4", "编辑框3", addresses.backupParser},
      {"按钮6", "编辑框4", addresses.spareParser},
  };
  for (const PlayButton& play : playButtons) {
    QLineEdit* editBox = window.editBox(play.editBox);
    QObject::connect(window.button(play.button), &QPushButton::clicked, &window,
                     [&window, &guardedWindows, editBox, prefix = play.prefix] {
                       PlayClipboardAddress(*editBox, *window.browser(), prefix);
                       GuardWindowTree(guardedWindows, HandleOf(window.browser()));
                     });
  }
  QObject::connect(window.siteTree(), &ui::TreeBox::selectionChanged, &window, [&window, addresses](int how) {
    ui::OnSiteTreeSelectionChanged(how, window.siteTree()->selectionIndex(), addresses);
  });
  QObject::connect(window.button("按钮2"), &QPushButton::clicked, &window,
                   [link = addresses.contactLink()] { OpenAddress(link); });
  QObject::connect(window.button("按钮5"), &QPushButton::clicked, &window,
                   [] { ShowMessageBox(ui::HelpText(), mb::kOk); });
  QObject::connect(window.button("按钮7"), &QPushButton::clicked, &window,
                   [&window, addresses] { RunSearch(window, addresses); });
  QObject::connect(window.resultList(), &ui::ListView::leftButtonPressed, &window,
                   [&window, addresses](int x, int, int) { OnResultListPressed(window, addresses, x); });
  ui::BindMainWindowTimers(window);

  HtmlViewer* browser = window.browser();
  browser->setNewWindowHandler([browser] { return OpenNewWindowInPlace(*browser); });
  QObject::connect(window.button("按钮3"), &QPushButton::clicked, &window,
                   [addresses] { OpenFullParseWindow(addresses); });
}

void BindFullParseWindow(ui::FullParseWindow& window, const Addresses& addresses) {
  QObject::connect(window.playButton(), &QPushButton::clicked, &window, [&window, prefix = addresses.fullParser] {
    PlayClipboardAddress(*window.editBox(), *window.browser(), prefix);
  });
}

void OpenFullParseWindow(const Addresses& addresses) {
  ui::FullParseWindow::Open([&addresses](ui::FullParseWindow& window) { BindFullParseWindow(window, addresses); });
}

}  // namespace zedade
