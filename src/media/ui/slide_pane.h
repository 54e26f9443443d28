// The slide pane of the right column: a tool strip ("Präsentation starten", the chosen slide to the
// beamer), the thumbnail list of the converted slides and the slide view.
#pragma once

#include <QWidget>

class QListWidget;
class QToolButton;

namespace psalmora {

struct AppState;
class PageView;

class SlidePane : public QWidget {
  Q_OBJECT

 public:
  SlidePane(AppState& state, QWidget* parent = nullptr);

  QListWidget* Thumbnails() const { return thumbnails_; }
  PageView* SlideView() const { return view_; }
  QToolButton* StartButton() const { return start_; }
  QToolButton* BeamerButton() const { return beamer_; }
  // The slide chosen in the thumbnail list (1-based), 0 when none.
  int ChosenSlide() const;

 signals:
  // A thumbnail was chosen (click or arrow keys).
  void slideChosen(int slide);
  // Enter in the list, or the beamer button.
  void slideToBeamer(int slide);
  void startRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget* thumbnails_ = nullptr;
  PageView* view_ = nullptr;
  QToolButton* start_ = nullptr;
  QToolButton* beamer_ = nullptr;
};

}  // namespace psalmora
