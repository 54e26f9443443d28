// QNetworkInformation with the first backend that reports reachability: NetworkManager's on Linux when
// the service runs, else any other installed one (glib's watches the routing table).
#include "platform/network_state.h"

#include <QHostAddress>
#include <QNetworkInformation>
#include <QUrl>

namespace psalmora {
namespace {

QNetworkInformation* ReachabilityBackend() {
  // Loaded once for the run; the backend then follows the system's changes by itself.
  static QNetworkInformation* const backend = []() -> QNetworkInformation* {
    const bool loaded = QNetworkInformation::loadBackendByName(u"networkmanager") ||
                        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    QNetworkInformation* info = loaded ? QNetworkInformation::instance() : nullptr;
    return info && info->supports(QNetworkInformation::Feature::Reachability) ? info : nullptr;
  }();
  return backend;
}

}  // namespace

bool IsOnline() {
  const QNetworkInformation* backend = ReachabilityBackend();
  if (!backend) return true;
  // "Local" and "Site" still reach a server in the same network; only a machine without any connection
  // is certainly offline.
  return backend->reachability() != QNetworkInformation::Reachability::Disconnected;
}

bool IsLoopbackHost(const QString& address) {
  const QString host = QUrl(address.trimmed()).host();
  if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) return true;
  const QHostAddress ip(host);
  return !ip.isNull() && ip.isLoopback();
}

}  // namespace psalmora
