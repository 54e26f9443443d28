// Right column pane stack.
#include "app/right_column.h"

#include <QVBoxLayout>

#include "render/ui/preview_pane.h"

namespace psalmora {

RightColumn::RightColumn(AppState& state, QWidget* parent) : QStackedWidget(parent) {
  setObjectName(QStringLiteral("rightColumn"));
  preview_ = new PreviewPane(state, this);
  panes_[static_cast<std::size_t>(RightPane::Preview)] = preview_;
  addWidget(preview_);
  const char* names[] = {"",          "songSelectPane",   "webSearchPane", "newsPane", "videoSitePane",
                         "slidePane", "mediaPicturePane", "mediaVideoPane"};
  for (std::size_t pane = 1; pane < panes_.size(); ++pane) {
    auto* widget = new QWidget(this);
    widget->setObjectName(QString::fromLatin1(names[pane]));
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    panes_[pane] = widget;
    addWidget(widget);
  }
  ShowRightPane(RightPane::Preview);
}

void RightColumn::ShowRightPane(RightPane pane) {
  shown_ = pane;
  setCurrentWidget(Pane(pane));
}

}  // namespace psalmora
