// Page view adapter: one QWebEngineView set up for the program's generated pages.
#include "platform/page_view.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

namespace psalmora {
namespace {

// Schemes that never leave the machine. Everything else (http, https, ftp, ws, wss, and whatever a
// future engine adds) counts as remote.
bool IsLocalScheme(const QString& scheme) {
  static const QStringList kLocal = {
      QStringLiteral("file"),  QStringLiteral("data"),       QStringLiteral("qrc"),        QStringLiteral("blob"),
      QStringLiteral("about"), QStringLiteral("javascript"), QStringLiteral("filesystem"), QString()};
  return kLocal.contains(scheme.toLower());
}

// A page counts as local when it was loaded from a file or from inline HTML.
bool IsLocalPage(const QUrl& address) {
  const QString scheme = address.scheme().toLower();
  return scheme == QLatin1String("file") || scheme == QLatin1String("data") || scheme == QLatin1String("about");
}

// Links and scripts of a local page cannot navigate it to a remote address either; only the program
// itself (a typed load) can.
class GuardedPage : public QWebEnginePage {
 public:
  GuardedPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
    if (type != NavigationTypeTyped && IsLocalPage(this->url()) && !IsLocalScheme(url.scheme())) return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
  }
};

void ApplyPageSettings(QWebEngineSettings* settings) {
  // Generated pages carry no charset and are written in Windows-1252.
  settings->setDefaultTextEncoding(QStringLiteral("windows-1252"));
  settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);  // slide markers set the title
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);  // background pictures
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
  settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);  // keep the keys in the lists
}

}  // namespace

LocalPageGuard::LocalPageGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

bool LocalPageGuard::Blocks(const QUrl& url, const QUrl& firstParty, const QUrl& initiator) {
  if (IsLocalScheme(url.scheme())) return false;
  return IsLocalPage(firstParty) || initiator.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
}

void LocalPageGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!Blocks(info.requestUrl(), info.firstPartyUrl(), info.initiator())) return;
  info.block(true);
  // The engine may ask from its own thread: hence the atomic count.
  blocked_.fetch_add(1);
}

LocalPageGuard* PreparePageProfile(QWebEngineProfile* profile) {
  if (auto* guard = profile->findChild<LocalPageGuard*>(QString(), Qt::FindDirectChildrenOnly)) return guard;
  auto* guard = new LocalPageGuard(profile);
  profile->setUrlRequestInterceptor(guard);
  ApplyPageSettings(profile->settings());
  return guard;
}

PageView::PageView(QWidget* parent, QWebEngineProfile* profile) : QWebEngineView(parent) {
  if (!profile) profile = QWebEngineProfile::defaultProfile();
  guard_ = PreparePageProfile(profile);
  setPage(new GuardedPage(profile, this));
  ApplyPageSettings(page()->settings());
  // No "Back", "Reload" or "View page source" over a song page.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  connect(this, &QWebEngineView::loadFinished, this, &PageView::pageLoaded);
  connect(this, &QWebEngineView::titleChanged, this, &PageView::pageTitleChanged);
}

void PageView::LoadPageFile(const std::filesystem::path& file) {
  pageFile_ = file;
  QUrl address = QUrl::fromLocalFile(QString::fromStdString(file.string()));
  // A new query each time: the engine treats it as a new address, so it reads the file again instead of
  // keeping what it showed for the same address.
  address.setQuery(QStringLiteral("v=%1").arg(++loads_));
  load(address);
}

}  // namespace psalmora
