// Page view adapter: one QWebEngineView set up for the program's generated pages.
#include "platform/page_view.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
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

// Runs in every document of the profile, in the program's own script world, before the page's content is
// parsed. For a local document it adds a Content-Security-Policy that refuses every script of the page
// (a layout's template or style is another team's HTML; a script could read files or open WebRTC
// connections, which no request guard sees), and it does the one thing the page's scripts may do: a click
// on a slide marker, whose handler is exactly javascript:document.title="n", sets the title to n.
// The policy goes in once the document element exists; the parser runs the pending observers before any
// script of the page, and handler attributes are checked when they fire.
const char kLocalPageScript[] = R"js(
(function () {
  if (!/^(file|data|about|blob):$/.test(location.protocol)) return;
  function refuseScripts() {
    var root = document.documentElement;
    if (!root) return false;
    var head = document.head || root.insertBefore(document.createElement('head'), root.firstChild);
    var policy = document.createElement('meta');
    policy.httpEquiv = 'Content-Security-Policy';
    policy.content = "script-src 'none'";
    head.insertBefore(policy, head.firstChild);
    return true;
  }
  if (!refuseScripts()) {
    var watch = new MutationObserver(function () { if (refuseScripts()) watch.disconnect(); });
    watch.observe(document, {childList: true, subtree: true});
  }
  document.addEventListener('click', function (event) {
    var marker = event.target && event.target.closest ? event.target.closest('[onclick]') : null;
    if (!marker) return;
    var slide = /^\s*javascript:\s*document\.title\s*=\s*"(\d+)"\s*;?\s*$/.exec(marker.getAttribute('onclick'));
    if (slide) document.title = slide[1];
  }, true);
})();
)js";

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

  // Every click on a slide marker would report the refused handler; a local page's console has nothing
  // else worth reading.
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                const QString& source) override {
    if (!IsLocalPage(url())) QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
  }
};

void ApplyPageSettings(QWebEngineSettings* settings) {
  // Generated pages carry no charset and are written in Windows-1252.
  settings->setDefaultTextEncoding(QStringLiteral("windows-1252"));
  // The program's own scripts (slide markers, scrolling); the pages' scripts are refused per document.
  settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
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

bool LocalPageGuard::BlocksFileRequest(const QUrl& url, QWebEngineUrlRequestInfo::ResourceType type) {
  if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0) return false;
  return type != QWebEngineUrlRequestInfo::ResourceTypeMainFrame && type != QWebEngineUrlRequestInfo::ResourceTypeImage;
}

void LocalPageGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!Blocks(info.requestUrl(), info.firstPartyUrl(), info.initiator()) &&
      !BlocksFileRequest(info.requestUrl(), info.resourceType()))
    return;
  info.block(true);
  // The engine may ask from its own thread: hence the atomic count.
  blocked_.fetch_add(1);
}

LocalPageGuard* PreparePageProfile(QWebEngineProfile* profile) {
  if (auto* guard = profile->findChild<LocalPageGuard*>(QString(), Qt::FindDirectChildrenOnly)) return guard;
  auto* guard = new LocalPageGuard(profile);
  profile->setUrlRequestInterceptor(guard);
  ApplyPageSettings(profile->settings());
  QWebEngineScript script;
  script.setName(QStringLiteral("psalmora-local-page"));
  script.setSourceCode(QString::fromLatin1(kLocalPageScript));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(true);
  profile->scripts()->insert(script);
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
