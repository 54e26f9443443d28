// `ControlWindow` ("Präsentation Kontrollfenster"): a small tool window beside the main window with a
// miniature of the beamer, so the operator sees what the audience sees. Closing only hides it.
#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace psalmora {

class ControlWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 225;

  ControlWindow(const QString& title, const QPoint& position, QWidget* parent);

  // Puts a picture of the beamer into the window, scaled to 300 pixels wide with the height in
  // proportion. A null picture leaves the old one.
  void ShowMiniature(const QPixmap& beamer);
  // The picture shown now (null before the first).
  QPixmap Miniature() const;
  int MiniatureCount() const { return miniatures_; }

 signals:
  // The close box was used: the window is hidden, not destroyed.
  void hiddenByUser();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* picture_ = nullptr;
  int miniatures_ = 0;
};

// The miniature of a beamer picture: 300 pixels wide, height in proportion; null for an empty picture.
QPixmap ScaleToMiniature(const QPixmap& beamer);

}  // namespace psalmora
