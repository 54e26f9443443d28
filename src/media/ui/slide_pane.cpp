// Slide pane widgets.
#include "media/ui/slide_pane.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "media/media_files.h"
#include "platform/page_view.h"

namespace psalmora {

SlidePane::SlidePane(AppState& state, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("slidePaneContent"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* strip = new QHBoxLayout;
  strip->setContentsMargins(2, 2, 2, 2);
  start_ = new QToolButton(this);
  start_->setIcon(AppIcon(IconId::SlideShow));
  start_->setText(Tr("Präsentation starten", state));
  start_->setToolTip(start_->text());
  start_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  beamer_ = new QToolButton(this);
  beamer_->setIcon(AppIcon(IconId::SendToBeamer));
  beamer_->setText(Tr("Folie an Beamer senden", state));
  beamer_->setToolTip(beamer_->text());
  beamer_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  strip->addWidget(start_);
  strip->addWidget(beamer_);
  strip->addStretch(1);
  layout->addLayout(strip);

  auto* split = new QSplitter(Qt::Horizontal, this);
  thumbnails_ = new QListWidget(split);
  thumbnails_->setObjectName(QStringLiteral("slideThumbnails"));
  thumbnails_->setViewMode(QListView::ListMode);
  thumbnails_->setIconSize(QSize(kSlideThumbnailWidth, kSlideThumbnailWidth));
  thumbnails_->setUniformItemSizes(false);
  thumbnails_->setMinimumWidth(kSlideThumbnailWidth + 60);
  thumbnails_->installEventFilter(this);
  view_ = new PageView(split);
  view_->setObjectName(QStringLiteral("slideView"));
  view_->setHtml(QStringLiteral("<body bgcolor='#FFFFFF'>"));
  split->addWidget(thumbnails_);
  split->addWidget(view_);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  split->setSizes({kSlideThumbnailWidth + 60, 10000});
  // The slide is as wide as the view: a wider or narrower view shows it again.
  view_->installEventFilter(this);
  layout->addWidget(split, 1);

  connect(thumbnails_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) emit slideChosen(row + 1);
  });
  connect(start_, &QToolButton::clicked, this, &SlidePane::startRequested);
  connect(beamer_, &QToolButton::clicked, this, [this] {
    if (ChosenSlide() > 0) emit slideToBeamer(ChosenSlide());
  });
}

int SlidePane::ChosenSlide() const {
  return thumbnails_->currentRow() + 1;
}

bool SlidePane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::Resize && ChosenSlide() > 0) emit slideChosen(ChosenSlide());
  if (watched == thumbnails_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && ChosenSlide() > 0) {
      emit slideToBeamer(ChosenSlide());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace psalmora
