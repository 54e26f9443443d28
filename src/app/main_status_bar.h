// The main window's status bar: the window title with the program icon, a progress bar (0 to 100) for
// long work and a small status text.
#pragma once

#include <QStatusBar>

class QLabel;
class QProgressBar;

namespace psalmora {

class MainStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  MainStatusBar(const QString& windowTitle, QWidget* parent = nullptr);

  QLabel* TitleLabel() const { return title_; }
  QProgressBar* Progress() const { return progress_; }
  QLabel* SmallText() const { return text_; }

 private:
  QLabel* title_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* text_ = nullptr;
};

}  // namespace psalmora
