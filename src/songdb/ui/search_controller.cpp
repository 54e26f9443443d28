// The window is disabled while the search runs, so no input arrives in between; the hits go into the
// list in one model reset, in song list order and unsorted.
#include "songdb/ui/search_controller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <cstdio>
#include <utility>

#include "core/ini_file.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "songdb/song_search.h"
#include "songdb/ui/search_index_keeper.h"
#include "songdb/ui/search_page.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"

namespace psalmora {

SearchController::SearchController(AppState& state, SongListsHost& window)
    : QObject(window.HostWindow()), state_(state), window_(window) {
  setObjectName(QStringLiteral("searchController"));
  keeper_ = new SearchIndexKeeper(state_, this);
  SearchPage* page = window_.Search();
  connect(page, &SearchPage::searchRequested, this, [this] { RunSearch(); });
  connect(page, &SearchPage::typingSearchRequested, this, [this, page] {
    // A text search before the index is ready would read every file on this thread: it waits for it.
    if (keeper_->Preparing() && page->SearchScope()->currentText() == QLatin1String(kTextSearchEntry.data())) {
      typingSearchWaits_ = true;
      return;
    }
    RunSearch(true);
  });
  connect(keeper_, &SearchIndexKeeper::indexReady, this, [this] {
    if (std::exchange(typingSearchWaits_, false)) RunSearch(true);
  });
  connect(page->SearchAsYouType(), &QCheckBox::toggled, this, [this](bool on) { SetSearchAsYouType(on); });
}

void SearchController::SetSearchAsYouType(bool on) {
  state_.settings.suchebeimtippen = on ? 1 : 0;
  const WriteResult written =
      WriteSettingKey(kGroupMisc, kKeySearchAsYouType, on ? "1" : "0", state_.programFolder / kSettingsFileName);
  if (!written) std::fprintf(stderr, "psalmora: setting not saved: %s\n", written.error.c_str());
}

SearchController* SearchController::Of(const QObject& window) {
  return window.findChild<SearchController*>(QStringLiteral("searchController"), Qt::FindDirectChildrenOnly);
}

int SearchController::RunSearch(bool asYouType) {
  SearchPage* left = window_.Search();
  SongListWidget* hitList = left->SearchHitList();
  hitList->Model().Clear();
  const int fieldEntry = left->SearchScope()->currentIndex();
  const std::string searchText = ToCp1252(left->SearchField()->text());
  const bool textSearch = left->SearchScope()->currentText() == QLatin1String(kTextSearchEntry.data());
  typingSearchWaits_ = false;

  // Disabling the window takes the focus away; the field or chooser that started the search gets it back.
  QWidget* main = window_.HostWindow();
  QPointer<QWidget> focused = main->focusWidget();
  if (!asYouType) main->setEnabled(false);
  if (textSearch) keeper_->BeforeSearch();
  const std::vector<SearchHit> hits = SearchSongs(state_.songs, state_.songTexts, fieldEntry, searchText);
  if (textSearch) keeper_->AfterSearch();
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
  if (!asYouType) {
    main->setEnabled(true);
    main->activateWindow();
    if (focused) focused->setFocus();
  }
  return static_cast<int>(hits.size());
}

}  // namespace psalmora
