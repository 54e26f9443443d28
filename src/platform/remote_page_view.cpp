// Remote page view: its own profile with a guard against local schemes, and a page that opens new
// windows in place and follows links only to web addresses.
#include "platform/remote_page_view.h"

#include <QCoreApplication>
#include <QWebEngineHttpRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

namespace psalmora {
namespace {

bool IsWebScheme(const QString& scheme) {
  return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

class RemotePage : public QWebEnginePage {
 public:
  RemotePage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
    if (!RemotePageGuard::Allows(url)) return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
  }
  // A link that asks for a new window opens in this panel.
  QWebEnginePage* createWindow(WebWindowType) override { return this; }
};

void ApplyRemoteSettings(QWebEngineSettings* settings) {
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
  settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
}

}  // namespace

RemotePageGuard::RemotePageGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

bool RemotePageGuard::Allows(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return IsWebScheme(scheme) || scheme == QLatin1String("data") || scheme == QLatin1String("blob") ||
         scheme == QLatin1String("about");
}

void RemotePageGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (Allows(info.requestUrl())) return;
  info.block(true);
  blocked_.fetch_add(1);  // the engine may ask from its own thread
}

namespace {

RemotePageGuard* remoteGuard = nullptr;

}  // namespace

QWebEngineProfile* RemotePageProfile() {
  static QWebEngineProfile* profile = nullptr;
  if (profile) return profile;
  // Off the record: nothing of those sites stays on the disk, and no other profile's data is shared.
  profile = new QWebEngineProfile(QCoreApplication::instance());
  profile->setObjectName(QStringLiteral("remotePages"));
  remoteGuard = new RemotePageGuard(profile);
  profile->setUrlRequestInterceptor(remoteGuard);
  ApplyRemoteSettings(profile->settings());
  QObject::connect(profile, &QObject::destroyed, [] {
    profile = nullptr;
    remoteGuard = nullptr;
  });
  return profile;
}

RemotePageView::RemotePageView(QWidget* parent) : QWebEngineView(parent) {
  setPage(new RemotePage(RemotePageProfile(), this));
  ApplyRemoteSettings(page()->settings());
  setAcceptDrops(false);  // a dropped file would be opened as a page
}

bool RemotePageView::LoadRemote(const QUrl& address) {
  if (!IsWebScheme(address.scheme().toLower())) return false;
  QWebEngineHttpRequest request(address);
  request.setHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache"));
  request.setHeader(QByteArrayLiteral("Pragma"), QByteArrayLiteral("no-cache"));
  load(request);
  return true;
}

RemotePageGuard* RemotePageView::Guard() const {
  RemotePageProfile();
  return remoteGuard;
}

}  // namespace psalmora
