// The monitors the presentation window can cover, read from the desktop's screens, and a watcher that
// reports screens coming and going while the program runs.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QString>
#include <functional>

namespace psalmora {

// Monitor 1 is the primary screen; monitor 2 the first other screen, with its real place on the desktop
// (a projector may sit left of or above the operator's screen). Empty rectangles for a missing monitor.
struct Monitors {
  QRect first;
  QRect second;
  QPointer<QScreen> firstScreen;
  QPointer<QScreen> secondScreen;

  bool HasSecond() const { return !second.isEmpty(); }
  // The rectangle of monitor 0 (first) or 1 (second).
  QRect Rect(int monitor) const { return monitor == 0 ? first : second; }
  QScreen* Screen(int monitor) const { return monitor == 0 ? firstScreen.data() : secondScreen.data(); }
};

// The monitors of the desktop now.
Monitors CurrentMonitors();

using MonitorSource = std::function<Monitors()>;

// "Monitor 1", line break, width " x " height, line break, "Monitor 2", line break, width " x " height,
// with the two labels as given (translated by the caller); a missing monitor is "0 x 0".
QString MonitorInfoText(const Monitors& monitors, const QString& firstLabel, const QString& secondLabel);

// Tells when the desktop's screens change: a screen added or removed, the primary screen changed, or a
// screen's geometry changed. Several changes within one event are reported once.
class ScreenWatcher : public QObject {
  Q_OBJECT

 public:
  explicit ScreenWatcher(QObject* parent = nullptr);

 signals:
  void screensChanged();

 private:
  void Watch(QScreen* screen);
  void Report();

  bool pending_ = false;
};

}  // namespace psalmora
