// Status bar widgets; the progress bar and the text are driven by whatever long work is running.
#include "app/main_status_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "core/ui/app_icons.h"

namespace psalmora {

MainStatusBar::MainStatusBar(const QString& windowTitle, QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("mainStatusBar"));
  setSizeGripEnabled(true);

  auto* titleBox = new QWidget(this);
  auto* titleLayout = new QHBoxLayout(titleBox);
  titleLayout->setContentsMargins(4, 0, 4, 0);
  titleLayout->setSpacing(6);
  auto* icon = new QLabel(titleBox);
  icon->setPixmap(AppIcon(IconId::Program).pixmap(QSize(16, 16)));
  title_ = new QLabel(windowTitle, titleBox);
  title_->setTextFormat(Qt::PlainText);  // the beamer song's title, shown as typed
  title_->setObjectName(QStringLiteral("statusTitle"));
  titleLayout->addWidget(icon);
  titleLayout->addWidget(title_);
  titleLayout->addStretch(1);
  addWidget(titleBox, 1);

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("statusProgress"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setFixedWidth(150);
  progress_->setMaximumHeight(14);
  addPermanentWidget(progress_);

  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("statusText"));
  QFont small = text_->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  text_->setFont(small);
  text_->setMinimumWidth(40);
  addPermanentWidget(text_);
}

}  // namespace psalmora
