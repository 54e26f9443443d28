// The web panels of the right column: the web song search (its form, `SearchSongsOnWeb`), CCLI
// SongSelect (`OpenSongSelect` in the system's browser), the news page (`ShowNews`), and
// `ImportSongFromPage`, which takes the page shown in the search or SongSelect panel into the store.
// The panels show remote pages in views kept apart from the program's own pages.
#pragma once

#include <QObject>
#include <QUrl>
#include <functional>
#include <string>

#include "online/web_access.h"

class QComboBox;
class QLineEdit;
class QToolButton;
class QWidget;

namespace psalmora {

struct AppState;
struct PageSong;
class Messages;
class PresentationHost;
class RemotePageView;
class RequestLane;

enum class WebPanel { Search, SongSelect, News };

class WebPanelsController : public QObject {
  Q_OBJECT

 public:
  // Where the panels go and how one is brought to the front (`ShowRightPane`).
  struct Places {
    QWidget* search = nullptr;
    QWidget* songSelect = nullptr;
    QWidget* news = nullptr;
    std::function<void(WebPanel)> show;
  };
  struct Services {
    std::function<bool()> isOnline;               // default: IsOnline
    HttpGet http;                                 // default: HttpGetText
    std::function<void(const QUrl&)> openBrowser;  // default: the system's browser
  };

  // A child of the window.
  WebPanelsController(AppState& state, PresentationHost& window, Messages& messages, Places places,
                      Services services = {});

  static WebPanelsController* Of(const QObject& window);

  // The toolbar entry "Lieder im Web suchen": the search panel to the front.
  void ShowSearchPanel();
  // `SearchSongsOnWeb`: the search of the form into the search panel.
  void SearchSongsOnWeb();
  // The toolbar entry "SongSelect von CCLI": the SongSelect panel at its start page.
  void ShowSongSelect();
  // `OpenSongSelect`: the SongSelect start page in the system's browser.
  void OpenSongSelect();
  // `ShowNews`: the news page in the news panel; quiet is the start-up's call, which says nothing when
  // there is no connection.
  void ShowNews(bool quiet = false);
  // `ImportSongFromPage`: downloads the page the panel shows and stores the song it holds. Returns at
  // once; songImported or importFailed follow.
  void ImportSongFromPage(WebPanel panel);

  // Where `OpenSongSelect` sends the address (the system's browser unless replaced).
  void SetBrowserOpener(std::function<void(const QUrl&)> open) { services_.openBrowser = std::move(open); }

  RemotePageView* View(WebPanel panel) const;
  QLineEdit* SearchTerm() const { return term_; }
  QComboBox* SearchFieldChooser() const { return field_; }
  QComboBox* SearchSiteChooser() const { return site_; }
  QToolButton* SearchButton() const { return searchButton_; }

 signals:
  void songImported(const QString& id);
  void importFailed(const QString& message);

 private:
  QWidget* BuildSearchPanel(QWidget* place);
  QWidget* BuildSongSelectPanel(QWidget* place);
  bool NetworkAvailable(const QString& address) const;
  QUrl SongSelectStart() const;
  QUrl SearchStart() const;
  void FinishImport(const std::string& problem, const PageSong& song);

  AppState& state_;
  PresentationHost& window_;
  Messages& messages_;
  Places places_;
  Services services_;
  RemotePageView* searchView_ = nullptr;
  RemotePageView* songSelectView_ = nullptr;
  RemotePageView* newsView_ = nullptr;
  QLineEdit* term_ = nullptr;
  QComboBox* field_ = nullptr;
  QComboBox* site_ = nullptr;
  QToolButton* searchButton_ = nullptr;
  RequestLane* imports_ = nullptr;
};

}  // namespace psalmora
