// The window is disabled while the search runs, so no input arrives in between; the hits go into the
// list in one model reset, in song list order and unsorted.
#include "songdb/ui/search_controller.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "core/ui/app_state.h"
#include "core/ui/left_column.h"
#include "core/ui/main_window.h"
#include "core/ui/ui_text.h"
#include "songdb/song_search.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {

SearchController::SearchController(AppState& state, MainWindow& window)
    : QObject(&window), state_(state), window_(window) {
  setObjectName(QStringLiteral("searchController"));
  connect(window_.Left(), &LeftColumn::searchRequested, this, [this] { RunSearch(); });
}

SearchController* SearchController::Of(const MainWindow& window) {
  return window.findChild<SearchController*>(QStringLiteral("searchController"), Qt::FindDirectChildrenOnly);
}

int SearchController::RunSearch() {
  LeftColumn* left = window_.Left();
  SongListWidget* hitList = left->SearchHitList();
  hitList->Model().Clear();
  const int fieldEntry = left->SearchScope()->currentIndex();
  const std::string searchText = ToCp1252(left->SearchField()->text());

  // Disabling the window takes the focus away; the field or chooser that started the search gets it back.
  QPointer<QWidget> focused = window_.focusWidget();
  window_.setEnabled(false);
  const std::vector<SearchHit> hits = SearchSongs(state_.songs, state_.songTexts, fieldEntry, searchText);
  std::vector<SongRow> rows;
  rows.reserve(hits.size());
  for (const SearchHit& hit : hits) {
    SongRow row;
    row.id = FromCp1252(hit.id);
    row.title = FromCp1252(hit.title);
    rows.push_back(std::move(row));
  }
  hitList->Model().SetRows(std::move(rows));
  left->SearchStatus()->setText(FromCp1252(SearchStatusText(hits.size(), state_.language)));
  window_.setEnabled(true);
  window_.activateWindow();
  if (focused) focused->setFocus();
  return static_cast<int>(hits.size());
}

}  // namespace psalmora
