// `MouseOverWarning`: while the setting "warnungmaus" is on, a small "Info" window tells the operator
// that the mouse pointer has wandered onto the presentation monitor, where the audience sees it.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

#include "platform/screens.h"

class QLabel;
class QTimer;
class QWidget;

namespace psalmora {

// Whether a pointer at this desktop position is on (or at the edge of) the presentation monitor.
bool PointerOnPresentation(const QPoint& pointer, const Monitors& monitors);

class MouseOverWarning : public QObject {
  Q_OBJECT

 public:
  // enabled reads the setting each time, so a change in the settings dialog takes effect at once.
  MouseOverWarning(std::function<bool()> enabled, MonitorSource monitors, const QString& firstLine,
                   const QString& secondLine, QObject* parent = nullptr);
  ~MouseOverWarning() override;

  // One look at the pointer: opens or closes the "Info" window.
  void Check(const QPoint& pointer);
  // The "Info" window while it is open.
  QWidget* InfoWindow() const;

 private:
  std::function<bool()> enabled_;
  MonitorSource monitors_;
  QString firstLine_;
  QString secondLine_;
  QWidget* info_ = nullptr;
  QTimer* poll_ = nullptr;
};

}  // namespace psalmora
