// The window is disabled while the search runs, so no input arrives in between; the hits go into the
// list in one model reset, in song list order and unsorted.
#include "songdb/ui/search_controller.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "songdb/song_search.h"
#include "songdb/ui/search_page.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"

namespace psalmora {

SearchController::SearchController(AppState& state, SongListsHost& window)
    : QObject(window.HostWindow()), state_(state), window_(window) {
  setObjectName(QStringLiteral("searchController"));
  connect(window_.Search(), &SearchPage::searchRequested, this, [this] { RunSearch(); });
}

SearchController* SearchController::Of(const QObject& window) {
  return window.findChild<SearchController*>(QStringLiteral("searchController"), Qt::FindDirectChildrenOnly);
}

int SearchController::RunSearch() {
  SearchPage* left = window_.Search();
  SongListWidget* hitList = left->SearchHitList();
  hitList->Model().Clear();
  const int fieldEntry = left->SearchScope()->currentIndex();
  const std::string searchText = ToCp1252(left->SearchField()->text());

  // Disabling the window takes the focus away; the field or chooser that started the search gets it back.
  QWidget* main = window_.HostWindow();
  QPointer<QWidget> focused = main->focusWidget();
  main->setEnabled(false);
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
  main->setEnabled(true);
  main->activateWindow();
  if (focused) focused->setFocus();
  return static_cast<int>(hits.size());
}

}  // namespace psalmora
