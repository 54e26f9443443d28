#include "stage/ui/stage_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/ui/ui_text.h"
#include "stage/ui/qr_image.h"
#include "stage/ui/stage_controller.h"

namespace psalmora {
namespace {

QLabel* AddressLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  label->setOpenExternalLinks(true);
  label->setAlignment(Qt::AlignHCenter);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 1.3);
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

StageWindow::StageWindow(StageController& controller, AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), controller_(controller), state_(state) {
  setObjectName(QStringLiteral("stageWindow"));
  setWindowTitle(Tr("Bühnenansicht und Fernbedienung", state_));

  on_ = new QCheckBox(Tr("Bühnenansicht und Fernbedienung einschalten", state_), this);
  port_ = new QSpinBox(this);
  port_->setRange(1024, 65535);
  pin_ = new QLineEdit(this);
  pin_->setMaxLength(12);
  pin_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,12}")), pin_));
  auto* apply = new QPushButton(Tr("Übernehmen", state_), this);
  apply->setObjectName(QStringLiteral("applyStage"));
  connect(apply, &QPushButton::clicked, this, &StageWindow::ApplyFields);

  auto* form = new QFormLayout;
  form->addRow(on_);
  form->addRow(Tr("Port", state_), port_);
  form->addRow(Tr("PIN der Fernbedienung", state_), pin_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(apply);
  form->addRow(buttons);

  status_ = new QLabel(this);
  status_->setWordWrap(true);
  codes_ = new QWidget(this);
  auto* grid = new QGridLayout(codes_);
  auto* stageTitle = new QLabel(Tr("Bühnenansicht", state_), codes_);
  auto* remoteTitle = new QLabel(Tr("Fernbedienung", state_), codes_);
  stageTitle->setAlignment(Qt::AlignHCenter);
  remoteTitle->setAlignment(Qt::AlignHCenter);
  stageCode_ = new QLabel(codes_);
  remoteCode_ = new QLabel(codes_);
  stageCode_->setAlignment(Qt::AlignHCenter);
  remoteCode_->setAlignment(Qt::AlignHCenter);
  stageAddress_ = AddressLabel(codes_);
  remoteAddress_ = AddressLabel(codes_);
  grid->addWidget(stageTitle, 0, 0);
  grid->addWidget(remoteTitle, 0, 1);
  grid->addWidget(stageCode_, 1, 0);
  grid->addWidget(remoteCode_, 1, 1);
  grid->addWidget(stageAddress_, 2, 0);
  grid->addWidget(remoteAddress_, 2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(status_);
  layout->addWidget(codes_);
  connect(&controller_, &StageController::servingChanged, this, &StageWindow::Refresh);
  Refresh();
}

void StageWindow::Refresh() {
  const StageSettings& settings = controller_.Settings();
  on_->setChecked(settings.on || controller_.IsServing());
  port_->setValue(controller_.IsServing() ? controller_.Port() : settings.port);
  pin_->setText(QString::fromStdString(settings.pin));
  const QStringList addresses = controller_.Addresses();
  codes_->setVisible(!addresses.isEmpty());
  if (addresses.isEmpty()) {
    status_->setText(Tr("Die Bühnenansicht ist ausgeschaltet.", state_));
    adjustSize();
    return;
  }
  const QString stage = addresses.front();
  const QString remote = stage + QStringLiteral("remote");
  QString others;
  for (int i = 1; i < addresses.size(); ++i) others += QStringLiteral(" ") + addresses[i];
  status_->setText(Tr("Handys und Tablets im selben Netz öffnen diese Adressen:", state_) + others);
  stageAddress_->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(stage.toHtmlEscaped()));
  remoteAddress_->setText(QStringLiteral("<a href=\"%1\">%1</a><br>PIN %2")
                              .arg(remote.toHtmlEscaped(), QString::fromStdString(settings.pin).toHtmlEscaped()));
  stageCode_->setPixmap(QPixmap::fromImage(QrImage(stage)));
  remoteCode_->setPixmap(QPixmap::fromImage(QrImage(remote, 4)));
  adjustSize();
}

void StageWindow::ApplyFields() {
  StageSettings settings = controller_.Settings();
  settings.on = on_->isChecked();
  settings.port = port_->value();
  settings.pin = pin_->text().toStdString();
  controller_.ChangeSettings(settings);
  Refresh();
}

}  // namespace psalmora
