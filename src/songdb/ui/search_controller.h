// The search page of the main window: runs `SearchSongs` when the search button is pressed or Return is
// typed into the search field or the field chooser, and shows the hits and the status text.
#pragma once

#include <QObject>

namespace psalmora {

struct AppState;
class SearchIndexKeeper;
class SongListsHost;

class SearchController : public QObject {
  Q_OBJECT

 public:
  // A child of the window; it follows the search page's requests from now on.
  SearchController(AppState& state, SongListsHost& window);

  // The controller of a window, if one was made for it.
  static SearchController* Of(const QObject& window);

  // `SearchSongs` with the chooser's entry and the typed text; returns the hit count. A search as you
  // type leaves the window enabled, so the typing goes on undisturbed.
  int RunSearch(bool asYouType = false);

  SearchIndexKeeper& IndexKeeper() const { return *keeper_; }

 private:
  void SetSearchAsYouType(bool on);

  AppState& state_;
  SongListsHost& window_;
  SearchIndexKeeper* keeper_ = nullptr;
  bool typingSearchWaits_ = false;  // for the index that is being prepared
};

}  // namespace psalmora
