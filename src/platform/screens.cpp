// Reading the two monitors from QGuiApplication and coalescing screen changes into one report.
#include "platform/screens.h"

#include <QGuiApplication>
#include <QTimer>

namespace psalmora {

Monitors CurrentMonitors() {
  Monitors monitors;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return monitors;
  monitors.firstScreen = primary;
  monitors.first = primary->geometry();
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen == primary || screen->geometry().isEmpty()) continue;
    monitors.secondScreen = screen;
    monitors.second = screen->geometry();
    break;
  }
  return monitors;
}

QString MonitorInfoText(const Monitors& monitors, const QString& firstLabel, const QString& secondLabel) {
  auto size = [](const QRect& rect) {
    return QStringLiteral("%1 x %2").arg(rect.isEmpty() ? 0 : rect.width()).arg(rect.isEmpty() ? 0 : rect.height());
  };
  return firstLabel + QLatin1Char('\n') + size(monitors.first) + QLatin1Char('\n') + secondLabel + QLatin1Char('\n') +
         size(monitors.second);
}

ScreenWatcher::ScreenWatcher(QObject* parent) : QObject(parent) {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app) return;
  connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
    Watch(screen);
    Report();
  });
  connect(app, &QGuiApplication::screenRemoved, this, [this] { Report(); });
  connect(app, &QGuiApplication::primaryScreenChanged, this, [this] { Report(); });
  for (QScreen* screen : QGuiApplication::screens()) Watch(screen);
}

void ScreenWatcher::Watch(QScreen* screen) {
  connect(screen, &QScreen::geometryChanged, this, [this] { Report(); });
}

void ScreenWatcher::Report() {
  // A removed screen is still listed while its signal is delivered; the desktop is read once it is gone.
  if (pending_) return;
  pending_ = true;
  QTimer::singleShot(0, this, [this] {
    pending_ = false;
    emit screensChanged();
  });
}

}  // namespace psalmora
