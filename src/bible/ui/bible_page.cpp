// Bible page widgets; filling them from the Bible files happens where the passages are handled.
#include "bible/ui/bible_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

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
  loadButton_ = new QToolButton(this);
  loadButton_->setIcon(AppIcon(IconId::BibleLoad));
  loadButton_->setToolTip(Tr("Bibelübersetzung laden", state));
  loadButton_->setAutoRaise(true);
  chooserRow->addWidget(translationChooser_, 1);
  chooserRow->addWidget(loadButton_);
  layout->addLayout(chooserRow);

  auto* split = new QSplitter(Qt::Vertical, this);
  auto* books = new QSplitter(Qt::Horizontal, split);
  bookTree_ = new QTreeWidget(books);
  bookTree_->setHeaderHidden(true);
  chapterList_ = new QListWidget(books);
  books->setStretchFactor(0, 3);
  books->setStretchFactor(1, 1);

  auto* passage = new QWidget(split);
  auto* passageLayout = new QVBoxLayout(passage);
  passageLayout->setContentsMargins(0, 0, 0, 0);
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
}

}  // namespace psalmora
