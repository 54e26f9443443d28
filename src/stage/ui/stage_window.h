// The window "Bühnenansicht und Fernbedienung": switching the stage server on and off, its port and the
// remote's PIN, and while it serves, the addresses of the stage page and the remote with QR codes the
// musicians scan from the stage.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace psalmora {

struct AppState;
class StageController;

class StageWindow : public QWidget {
  Q_OBJECT

 public:
  StageWindow(StageController& controller, AppState& state, QWidget* parent);

  // The fields from the controller's settings, the addresses and codes from its server.
  void Refresh();

  QCheckBox* OnBox() const { return on_; }
  QSpinBox* PortField() const { return port_; }
  QLineEdit* PinField() const { return pin_; }
  QLabel* StageAddressLabel() const { return stageAddress_; }
  QLabel* StageCode() const { return stageCode_; }
  QLabel* RemoteAddressLabel() const { return remoteAddress_; }
  // Takes the fields over (the "Übernehmen" button).
  void ApplyFields();

 private:
  StageController& controller_;
  AppState& state_;
  QCheckBox* on_ = nullptr;
  QSpinBox* port_ = nullptr;
  QLineEdit* pin_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* stageAddress_ = nullptr;
  QLabel* stageCode_ = nullptr;
  QLabel* remoteAddress_ = nullptr;
  QLabel* remoteCode_ = nullptr;
  QWidget* codes_ = nullptr;
};

}  // namespace psalmora
