// The song-order window: a read-only text in large type that hides instead of closing.
#include "render/ui/song_order_window.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace psalmora {

SongOrderWindow::SongOrderWindow(const QString& title, const QRect& geometry, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("SongOrderWindow"));
  setWindowTitle(title);
  setAttribute(Qt::WA_ShowWithoutActivating);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("songOrderText"));
  text_->setReadOnly(true);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(13);
  text_->setFont(font);
  layout->addWidget(text_);
  // A stored size of 0 (never shown) falls back to a usable window.
  resize(geometry.width() > 50 ? geometry.width() : 300, geometry.height() > 50 ? geometry.height() : 300);
  move(geometry.topLeft());
}

void SongOrderWindow::SetOrderText(const QString& text) {
  text_->setPlainText(text);
}

void SongOrderWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
  emit hiddenByUser();
}

}  // namespace psalmora
