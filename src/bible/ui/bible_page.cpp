// Bible page widgets; what they do is the BibleController's.
#include "bible/ui/bible_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "bible/ui/bible_controller.h"
#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"

namespace psalmora {

BiblePage::BiblePage(AppState& state, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  auto* chooserRow = new QHBoxLayout;
  translationChooser_ = new QComboBox(this);
  translationChooser_->setObjectName(QStringLiteral("bibleTranslationChooser"));
  translationChooser_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  translationChooser_->setMinimumContentsLength(8);
  loadButton_ = new QToolButton(this);
  loadButton_->setIcon(AppIcon(IconId::BibleLoad));
  loadButton_->setToolTip(Tr("Bibelübersetzung laden", state));
  loadButton_->setAutoRaise(true);
  // A click imports an XML file; the arrow offers the installed SWORD modules as well.
  importButton_ = new QToolButton(this);
  importButton_->setObjectName(QStringLiteral("bibleImportButton"));
  importButton_->setText(Tr("Importieren…", state));
  importButton_->setToolTip(Tr("Bibeltext importieren", state));
  importButton_->setPopupMode(QToolButton::MenuButtonPopup);
  importButton_->setMenu(new QMenu(importButton_));
  chooserRow->addWidget(translationChooser_, 1);
  chooserRow->addWidget(loadButton_);
  chooserRow->addWidget(importButton_);
  layout->addLayout(chooserRow);
  importProgress_ = new QProgressBar(this);
  importProgress_->setObjectName(QStringLiteral("bibleImportProgress"));
  importProgress_->setMaximumHeight(12);
  importProgress_->setTextVisible(false);
  importProgress_->hide();
  layout->addWidget(importProgress_);

  auto* split = new QSplitter(Qt::Vertical, this);
  auto* books = new QSplitter(Qt::Horizontal, split);
  bookTree_ = new QTreeWidget(books);
  bookTree_->setObjectName(QStringLiteral("bibleBookTree"));
  bookTree_->setHeaderHidden(true);
  chapterList_ = new QListWidget(books);
  chapterList_->setObjectName(QStringLiteral("bibleChapterList"));
  books->setStretchFactor(0, 3);
  books->setStretchFactor(1, 1);

  auto* passage = new QWidget(split);
  auto* passageLayout = new QVBoxLayout(passage);
  passageLayout->setContentsMargins(0, 0, 0, 0);
  passageField_ = new QLineEdit(passage);
  passageField_->setObjectName(QStringLiteral("biblePassageField"));
  passageField_->setPlaceholderText(Tr("Bibelstelle, z. B. Joh 3,16-18", state));
  passageField_->setClearButtonEnabled(true);
  passageLayout->addWidget(passageField_);
  // Right under the field, and only while it has something to say: the column is narrow.
  passageStatus_ = new QLabel(passage);
  passageStatus_->setObjectName(QStringLiteral("biblePassageStatus"));
  passageStatus_->setWordWrap(true);
  passageStatus_->hide();
  passageLayout->addWidget(passageStatus_);
  auto* headerRow = new QHBoxLayout;
  headerText_ = new QLineEdit(passage);
  headerText_->setReadOnly(true);
  sendButton_ = new QToolButton(passage);
  sendButton_->setIcon(AppIcon(IconId::SendToBeamer));
  sendButton_->setToolTip(Tr("Bibelstelle an Beamer senden", state));
  sendButton_->setAutoRaise(true);
  headerRow->addWidget(headerText_, 1);
  headerRow->addWidget(sendButton_);
  passageLayout->addLayout(headerRow);
  freeText_ = new QPlainTextEdit(passage);
  freeText_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  passageLayout->addWidget(freeText_, 1);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 1);
  layout->addWidget(split, 1);

  new BibleController(state, *this);
}

void BiblePage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  emit shown();
}

}  // namespace psalmora
