// The Bible page of the left column: translation chooser with its load and import buttons, the book tree,
// the chapter list, the passage field, the passage name and the editable chapter text, and the send
// button. Its behaviour is the BibleController the page creates as its child.
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
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
  QToolButton* ImportButton() const { return importButton_; }
  QTreeWidget* BookTree() const { return bookTree_; }
  QListWidget* ChapterList() const { return chapterList_; }
  QLineEdit* PassageField() const { return passageField_; }
  QLabel* PassageStatus() const { return passageStatus_; }
  QProgressBar* ImportProgress() const { return importProgress_; }
  QLineEdit* HeaderTextField() const { return headerText_; }
  QPlainTextEdit* FreeTextField() const { return freeText_; }
  QToolButton* SendButton() const { return sendButton_; }

 signals:
  // The page has become visible (its tab was chosen, or the window opened on it).
  void shown();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QComboBox* translationChooser_ = nullptr;
  QToolButton* loadButton_ = nullptr;
  QToolButton* importButton_ = nullptr;
  QTreeWidget* bookTree_ = nullptr;
  QListWidget* chapterList_ = nullptr;
  QLineEdit* passageField_ = nullptr;
  QLabel* passageStatus_ = nullptr;
  QProgressBar* importProgress_ = nullptr;
  QLineEdit* headerText_ = nullptr;
  QPlainTextEdit* freeText_ = nullptr;
  QToolButton* sendButton_ = nullptr;
};

}  // namespace psalmora
