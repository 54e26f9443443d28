// The Bible page of the left column: translation chooser with its load button, the book tree, the
// chapter list, the passage name and the editable chapter text, and the send button.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QToolButton;
class QTreeWidget;

namespace psalmora {

struct AppState;

class BiblePage : public QWidget {
  Q_OBJECT

 public:
  BiblePage(AppState& state, QWidget* parent = nullptr);

  QComboBox* TranslationChooser() const { return translationChooser_; }
  QToolButton* LoadButton() const { return loadButton_; }
  QTreeWidget* BookTree() const { return bookTree_; }
  QListWidget* ChapterList() const { return chapterList_; }
  QLineEdit* HeaderTextField() const { return headerText_; }
  QPlainTextEdit* FreeTextField() const { return freeText_; }
  QToolButton* SendButton() const { return sendButton_; }

 private:
  QComboBox* translationChooser_ = nullptr;
  QToolButton* loadButton_ = nullptr;
  QTreeWidget* bookTree_ = nullptr;
  QListWidget* chapterList_ = nullptr;
  QLineEdit* headerText_ = nullptr;
  QPlainTextEdit* freeText_ = nullptr;
  QToolButton* sendButton_ = nullptr;
};

}  // namespace psalmora
