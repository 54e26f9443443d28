// The web view of the panels that show pages from the internet (the web song search, CCLI SongSelect,
// the news page). Those pages are other people's: they run in a profile of their own, apart from the
// profile of the program's generated pages, and never reach a local file or one of the program's pages.
#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <atomic>

class QWebEngineProfile;

namespace psalmora {

// Refuses every request that is not http, https or one of the in-page schemes (data, blob, about):
// file and qrc above all, whoever makes it.
class RemotePageGuard : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

 public:
  explicit RemotePageGuard(QObject* parent = nullptr);
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
  static bool Allows(const QUrl& url);
  int BlockedCount() const { return blocked_.load(); }

 private:
  std::atomic<int> blocked_{0};
};

// The one profile of the remote panels (made on first use, owned by the application object).
QWebEngineProfile* RemotePageProfile();

class RemotePageView : public QWebEngineView {
  Q_OBJECT

 public:
  explicit RemotePageView(QWidget* parent = nullptr);

  // Loads the address from the server, never from a cache. Addresses other than http and https are
  // refused (false).
  bool LoadRemote(const QUrl& address);
  RemotePageGuard* Guard() const;
};

}  // namespace psalmora
