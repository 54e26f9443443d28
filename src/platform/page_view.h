// The web view every generated page of the program is shown in (the preview, the beamer's frames, the
// print and layout previews). Pages are files in the data folder written in Windows-1252, often without
// a charset. Their layouts come from other teams, so a page may show its song and its pictures and report
// clicks on its slide markers, and nothing more: it never reaches the network and never reads other files.
#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <atomic>
#include <filesystem>

class QWebEngineProfile;

namespace psalmora {

// Refuses every request for a remote address (http, https, ftp, ws, ...) that a page loaded from a local
// file (or from inline HTML) makes, while pages the program opens by their remote address load normally.
// Local files are read only as a page itself or as a picture.
class LocalPageGuard : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

 public:
  explicit LocalPageGuard(QObject* parent = nullptr);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  // Whether a request for url, made by a page whose first-party address is firstParty and whose
  // initiator is initiator, is to be refused.
  static bool Blocks(const QUrl& url, const QUrl& firstParty, const QUrl& initiator);
  // Whether a request for url, of the given kind, reads a local file other than a page or a picture
  // (a frame, an object, a script, a style sheet, a read by a script).
  static bool BlocksFileRequest(const QUrl& url, QWebEngineUrlRequestInfo::ResourceType type);
  // Requests refused so far (all pages of the profile).
  int BlockedCount() const { return blocked_.load(); }

 private:
  std::atomic<int> blocked_{0};
};

// Settings of the profile every page view uses: the guard and the local-page script installed once.
// Returns the guard of the profile.
LocalPageGuard* PreparePageProfile(QWebEngineProfile* profile);

class PageView : public QWebEngineView {
  Q_OBJECT

 public:
  // The view's page uses profile (nullptr: the default profile, which is off-the-record in Qt 6).
  explicit PageView(QWidget* parent = nullptr, QWebEngineProfile* profile = nullptr);

  // Shows the page file. Each call loads the file anew even when the address is the same as before, so
  // a page rewritten in place always shows its new content.
  void LoadPageFile(const std::filesystem::path& file);
  // The file shown last by LoadPageFile (empty before).
  const std::filesystem::path& PageFile() const { return pageFile_; }
  LocalPageGuard* Guard() const { return guard_; }

 signals:
  // loadFinished and titleChanged of the page, passed on.
  void pageLoaded(bool ok);
  void pageTitleChanged(const QString& title);

 private:
  LocalPageGuard* guard_ = nullptr;
  std::filesystem::path pageFile_;
  quint64 loads_ = 0;
};

}  // namespace psalmora
