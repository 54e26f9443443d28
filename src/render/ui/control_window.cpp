// The control window's miniature: the beamer picture scaled to the window's width, on black.
#include "render/ui/control_window.h"

#include <QCloseEvent>
#include <QLabel>

namespace psalmora {

QPixmap ScaleToMiniature(const QPixmap& beamer) {
  if (beamer.isNull() || beamer.width() <= 0) return {};
  return beamer.scaledToWidth(ControlWindow::kWidth, Qt::SmoothTransformation);
}

ControlWindow::ControlWindow(const QString& title, const QPoint& position, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint) {
  setObjectName(QStringLiteral("ControlWindow"));
  setWindowTitle(title);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(kWidth, kHeight);
  move(position);
  picture_ = new QLabel(this);
  picture_->setObjectName(QStringLiteral("miniature"));
  picture_->setGeometry(0, 0, kWidth, kHeight);
  picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture_->setAutoFillBackground(true);
  QPalette black = picture_->palette();
  black.setColor(QPalette::Window, Qt::black);
  picture_->setPalette(black);
}

void ControlWindow::ShowMiniature(const QPixmap& beamer) {
  const QPixmap miniature = ScaleToMiniature(beamer);
  if (miniature.isNull()) return;
  picture_->setPixmap(miniature);
  ++miniatures_;
}

QPixmap ControlWindow::Miniature() const {
  return picture_->pixmap();
}

void ControlWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
  emit hiddenByUser();
}

}  // namespace psalmora
