#include "search/search_handlers.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "platform/html_viewer.h"
#include "platform/http_client.h"
#include "platform/qt_text.h"
#include "playback/play_address.h"
#include "search/hit_column.h"
#include "search/search_rows.h"
#include "ui/list_view.h"
#include "ui/main_window.h"

namespace zedade {

void RunSearch(ui::MainWindow& window, const Addresses& addresses) {
  QCoreApplication::processEvents();  // repaint before the blocking fetch
  QLineEdit* box = window.editBox("编辑框5");
  const Text address = FromQString(box->text());
  const std::vector<SearchRow> rows = SearchRowsFromBody(HttpFetch(address));
  ui::ListView* list = window.resultList();
  for (const SearchRow& row : rows) {
    const int index = list->appendRow();
    list->setCellText(index, 1, row.address);
    list->setCellText(index, 2, row.title);
  }
  window.browser()->setAddress(PlayAddress(addresses.universalParser, FromQString(box->text())));
}

void OnResultListPressed(ui::MainWindow& window, const Addresses& addresses, int x) {
  ui::ListView* list = window.resultList();
  std::vector<int> widths;
  for (int column = 0; column < list->columnCount(); ++column) widths.push_back(list->columnWidth(column));
  QLineEdit* box = window.editBox("编辑框5");
  const int column = HitColumn(list->outerWidth(), widths, x);
  if (column >= 0) box->setText(ToQString(list->cellText(list->lowestSelectedRow(), column)));
  window.browser()->setAddress(PlayAddress(addresses.universalParser, FromQString(box->text())));
}

}  // namespace zedade
