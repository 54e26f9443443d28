// SIGTERM and SIGINT turned into a Qt signal on the interface thread, so a logout or a service manager
// ends the program through the same shutdown as closing the main window.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace psalmora {

class QuitSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; only one object may exist at a time.
  explicit QuitSignals(QObject* parent = nullptr);
  ~QuitSignals() override;

 signals:
  void quitRequested(int signalNumber);

 private:
  void ReadPipe();

  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace psalmora
