// `SongOrderWindow` ("liedablauf"): a resizable window showing the song order of the previewed song, one
// part a line, in large type so it can be read from the stage. Closing only hides it.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace psalmora {

class SongOrderWindow : public QWidget {
  Q_OBJECT

 public:
  SongOrderWindow(const QString& title, const QRect& geometry, QWidget* parent);

  QPlainTextEdit* TextArea() const { return text_; }
  void SetOrderText(const QString& text);

 signals:
  void hiddenByUser();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace psalmora
