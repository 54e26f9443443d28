// The right column: a stack of panes of which one is visible at a time (`ShowRightPane`). The preview
// pane is always there; the web and media panes are places that their views are put into.
#pragma once

#include <QStackedWidget>
#include <array>

namespace psalmora {

struct AppState;
class PreviewPane;

enum class RightPane { Preview, SongSelect, WebSearch, News, VideoSite, Slides, MediaPicture, MediaVideo };

class RightColumn : public QStackedWidget {
  Q_OBJECT

 public:
  RightColumn(AppState& state, QWidget* parent = nullptr);

  PreviewPane* Preview() const { return preview_; }
  // The pane widget; every pane but the preview has an empty layout without margins for its view.
  QWidget* Pane(RightPane pane) const { return panes_[static_cast<std::size_t>(pane)]; }
  void ShowRightPane(RightPane pane);
  RightPane ShownPane() const { return shown_; }

 private:
  PreviewPane* preview_ = nullptr;
  std::array<QWidget*, 8> panes_{};
  RightPane shown_ = RightPane::Preview;
};

}  // namespace psalmora
