// Web panels: the forms and views, the news, and the page import. The page is downloaded beside the
// interface thread into a private temporary file and read back from it; the song is stored on the
// interface thread.
#include "online/ui/web_panels.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "online/ui/request_lane.h"
#include "online/web_song_search.h"
#include "platform/network_state.h"
#include "platform/remote_page_view.h"
#include "render/ui/presentation_host.h"
#include "songdb/timestamp.h"
#include "transfer/song_import.h"
#include "transfer/ui/imported_songs.h"

namespace psalmora {
namespace {

WebPanelsController::Services WithDefaults(WebPanelsController::Services services) {
  if (!services.isOnline) services.isOnline = IsOnline;
  if (!services.http) {
    services.http = [](const std::string& url, const HttpOptions& options) { return HttpGetText(url, options); };
  }
  if (!services.openBrowser) services.openBrowser = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  return services;
}

QUrl SiteUrl(const std::string& base, const QString& path = {}) {
  QString address = FromCp1252(base).trimmed();
  while (address.endsWith(QLatin1Char('/'))) address.chop(1);
  return QUrl(address + path);
}

// The page as downloaded, through a temporary file only this user can read, with a name nobody can
// guess beforehand; the file goes when the read is done. Empty problem on success.
std::string DownloadPage(const HttpGet& http, const std::string& url, std::string& page) {
  HttpOptions options;
  options.maxBodyBytes = std::size_t{16} * 1024 * 1024;
  const std::string body = http(url, options);
  if (body.empty()) return "unreachable";
  QTemporaryFile file;
  if (!file.open() || file.write(body.data(), static_cast<qint64>(body.size())) != static_cast<qint64>(body.size()) ||
      !file.flush() || !file.seek(0)) {
    return "file";
  }
  const QByteArray read = file.readAll();
  page.assign(read.constData(), static_cast<std::size_t>(read.size()));
  return {};
}

}  // namespace

WebPanelsController::WebPanelsController(AppState& state, PresentationHost& window, Messages& messages, Places places,
                                         Services services)
    : QObject(window.HostWindow()),
      state_(state),
      window_(window),
      messages_(messages),
      places_(std::move(places)),
      services_(WithDefaults(std::move(services))) {
  setObjectName(QStringLiteral("webPanelsController"));
  imports_ = new RequestLane(this);
  BuildSearchPanel(places_.search);
  BuildSongSelectPanel(places_.songSelect);
  newsView_ = new RemotePageView(places_.news);
  newsView_->setObjectName(QStringLiteral("newsView"));
  places_.news->layout()->addWidget(newsView_);
}

WebPanelsController* WebPanelsController::Of(const QObject& window) {
  return window.findChild<WebPanelsController*>(QStringLiteral("webPanelsController"), Qt::FindDirectChildrenOnly);
}

QWidget* WebPanelsController::BuildSearchPanel(QWidget* place) {
  auto* toolbar = new QToolBar(place);
  toolbar->setObjectName(QStringLiteral("webSearchToolbar"));
  toolbar->setIconSize(QSize(20, 20));
  toolbar->addAction(AppIcon(IconId::WebSearch), Tr("Startseite", state_), this,
                     [this] { searchView_->LoadRemote(SearchStart()); });
  term_ = new QLineEdit(toolbar);
  term_->setObjectName(QStringLiteral("webSearchTerm"));
  term_->setMinimumWidth(120);
  connect(term_, &QLineEdit::returnPressed, this, &WebPanelsController::SearchSongsOnWeb);
  toolbar->addWidget(term_);
  toolbar->addWidget(new QLabel(QStringLiteral(" ") + Tr("in", state_) + QStringLiteral(" "), toolbar));
  field_ = new QComboBox(toolbar);
  field_->addItems({Tr("Titel", state_), Tr("Interpret", state_)});
  toolbar->addWidget(field_);
  toolbar->addWidget(new QLabel(QStringLiteral(" ") + Tr("auf", state_) + QStringLiteral(" "), toolbar));
  site_ = new QComboBox(toolbar);
  site_->addItem(SiteUrl(state_.settings.ultimateGuitarSite).host());
  site_->addItem(SiteUrl(state_.settings.googleSite).host());
  toolbar->addWidget(site_);
  searchButton_ = new QToolButton(toolbar);
  searchButton_->setIcon(AppIcon(IconId::SearchStart));
  searchButton_->setToolTip(Tr("Liedersuche im Web", state_));
  connect(searchButton_, &QToolButton::clicked, this, &WebPanelsController::SearchSongsOnWeb);
  toolbar->addWidget(searchButton_);
  toolbar->addSeparator();
  toolbar->addAction(AppIcon(IconId::SongCopy), Tr("Lied von Webseite übernehmen", state_), this,
                     [this] { ImportSongFromPage(WebPanel::Search); });
  searchView_ = new RemotePageView(place);
  searchView_->setObjectName(QStringLiteral("webSearchView"));
  place->layout()->addWidget(toolbar);
  place->layout()->addWidget(searchView_);
  return toolbar;
}

QWidget* WebPanelsController::BuildSongSelectPanel(QWidget* place) {
  auto* toolbar = new QToolBar(place);
  toolbar->setObjectName(QStringLiteral("songSelectToolbar"));
  toolbar->setIconSize(QSize(20, 20));
  toolbar->addAction(AppIcon(IconId::SongSelect), Tr("Startseite", state_), this,
                     [this] { songSelectView_->LoadRemote(SongSelectStart()); });
  toolbar->addAction(AppIcon(IconId::WebSearch), Tr("Im Browser öffnen", state_), this,
                     &WebPanelsController::OpenSongSelect);
  toolbar->addSeparator();
  toolbar->addAction(AppIcon(IconId::SongCopy), Tr("Lied von Webseite übernehmen", state_), this,
                     [this] { ImportSongFromPage(WebPanel::SongSelect); });
  songSelectView_ = new RemotePageView(place);
  songSelectView_->setObjectName(QStringLiteral("songSelectView"));
  place->layout()->addWidget(toolbar);
  place->layout()->addWidget(songSelectView_);
  return toolbar;
}

RemotePageView* WebPanelsController::View(WebPanel panel) const {
  switch (panel) {
    case WebPanel::Search:
      return searchView_;
    case WebPanel::SongSelect:
      return songSelectView_;
    case WebPanel::News:
      return newsView_;
  }
  return nullptr;
}

bool WebPanelsController::NetworkAvailable(const QString& address) const {
  return IsLoopbackHost(address) || services_.isOnline();
}

QUrl WebPanelsController::SongSelectStart() const {
  return SiteUrl(state_.settings.songSelectSite, QStringLiteral("/"));
}

QUrl WebPanelsController::SearchStart() const {
  return SiteUrl(site_->currentIndex() == 1 ? state_.settings.googleSite : state_.settings.ultimateGuitarSite,
                 QStringLiteral("/"));
}

void WebPanelsController::ShowSearchPanel() {
  places_.show(WebPanel::Search);
  if (searchView_->url().isEmpty()) searchView_->LoadRemote(SearchStart());
  term_->setFocus();
}

void WebPanelsController::SearchSongsOnWeb() {
  const bool google = site_->currentIndex() == 1;
  const std::string& base = google ? state_.settings.googleSite : state_.settings.ultimateGuitarSite;
  if (!NetworkAvailable(FromCp1252(base))) {
    messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Liedersuche im Web", state_),
                   Tr("Es besteht keine Internetverbindung!", state_));
    return;
  }
  const std::string url =
      WebSearchUrl(base, google ? SearchSite::Google : SearchSite::UltimateGuitar,
                   field_->currentIndex() == 1 ? SearchField::Artist : SearchField::Title, ToCp1252(term_->text()));
  places_.show(WebPanel::Search);
  searchView_->LoadRemote(QUrl(QString::fromStdString(url), QUrl::StrictMode));
}

void WebPanelsController::ShowSongSelect() {
  places_.show(WebPanel::SongSelect);
  songSelectView_->LoadRemote(SongSelectStart());
}

void WebPanelsController::OpenSongSelect() {
  services_.openBrowser(SongSelectStart());
}

void WebPanelsController::ShowNews(bool quiet) {
  const QString address = FromCp1252(state_.settings.serveradresse);
  if (!NetworkAvailable(address)) {
    if (!quiet) {
      messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Psalmoraaktuell", state_),
                     Tr("Es besteht keine Internetverbindung!", state_));
    }
    return;
  }
  newsView_->LoadRemote(SiteUrl(state_.settings.serveradresse, QStringLiteral("/pm-news.php")));
  if (!quiet) places_.show(WebPanel::News);
}

void WebPanelsController::ImportSongFromPage(WebPanel panel) {
  const QUrl address = View(panel)->url();
  const QString scheme = address.scheme().toLower();
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
    const QString problem = Tr("Es wird keine Webseite angezeigt", state_);
    messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Lied von Webseite übernehmen", state_), problem);
    emit importFailed(problem);
    return;
  }
  window_.ShowStatusMessage(Tr("Seite wird geladen...", state_));
  imports_->Submit([this, http = services_.http,
                    url = address.toString(QUrl::FullyEncoded).toStdString()]() -> std::function<void()> {
    std::string page;
    std::string problem = DownloadPage(http, url, page);
    PageSong song = problem.empty() ? ReadSongPage(page) : PageSong{};
    if (problem.empty() && !HasSongText(song)) problem = "nosong";
    return [this, problem = std::move(problem), song = std::move(song), url] {
      FinishImport(problem.empty() ? problem : problem + "\t" + url, song);
    };
  });
}

void WebPanelsController::FinishImport(const std::string& problem, const PageSong& song) {
  window_.ShowStatusMessage({});
  QWidget* host = window_.HostWindow();
  if (!problem.empty()) {
    const std::size_t tab = problem.find('\t');
    const std::string kind = problem.substr(0, tab);
    const QString url = QString::fromStdString(problem.substr(tab + 1));
    QString text;
    if (kind == "file") {
      // The download's file could not be written or read back: the old program's own words.
      text = QStringLiteral("HTML konnte nicht geöffnet werden!");
      messages_.Show(host, MessageIcon::Information, QStringLiteral("Information"), text);
    } else {
      text = (kind == "unreachable" ? Tr("Die Seite konnte nicht geladen werden:", state_)
                                    : Tr("Auf der Seite wurde kein Liedtext gefunden:", state_)) +
             QStringLiteral("\n") + url;
      messages_.Show(host, MessageIcon::Information, Tr("Lied von Webseite übernehmen", state_), text);
    }
    emit importFailed(text);
    return;
  }
  state_.songs.ReloadIfChanged();
  ImportResult stored;
  if (!state_.songs.SongListUnreadable()) stored = StoreNewSongs(state_.songs, {PreparePageSong(song, CurrentTimeValue())});
  ShowImportedSongs(state_, window_, messages_, stored);
  if (!stored.saved || stored.songs.empty()) {
    if (stored.songs.empty() && state_.songs.SongListUnreadable()) {
      messages_.Show(host, MessageIcon::Error, Tr("Fehler", state_),
                     Tr("Die Lieder konnten nicht gespeichert werden:", state_));
    }
    emit importFailed(Tr("Die Lieder konnten nicht gespeichert werden:", state_));
    return;
  }
  const QString id = FromCp1252(stored.songs.front().id);
  window_.ShowStatusMessage(Tr("Lied übernommen:", state_) + QStringLiteral(" ") + FromCp1252(song.title));
  emit songImported(id);
}

}  // namespace psalmora
