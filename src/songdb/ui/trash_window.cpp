// Rows hold the title in column 0 and the id in column 1; several rows can be chosen at once.
#include "songdb/ui/trash_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "core/ui/user_message_box.h"
#include "songdb/trash.h"

namespace psalmora {

TrashWindow::TrashWindow(AppState& state, Messages& messages, QWidget* parent)
    : QDialog(parent), state_(state), messages_(messages) {
  setObjectName(QStringLiteral("TrashWindow"));
  setWindowTitle(Tr("Papierkorb", state_));
  if (parent) setWindowModality(Qt::WindowModal);
  resize(401, 301);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Tr("Gelöschte Datensätze herstellen", state_), this));
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(Tr("Insgesamt", state_) + QStringLiteral(": "), this));
  count_ = new QLabel(QStringLiteral("0"), this);
  count_->setObjectName(QStringLiteral("trashCount"));
  countRow->addWidget(count_);
  countRow->addStretch(1);
  layout->addLayout(countRow);

  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("trashList"));
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setAllColumnsShowFocus(true);
  list_->setHeaderLabels({Tr("Titel", state_), Tr("ID", state_)});
  list_->setColumnWidth(0, 200);
  list_->setColumnWidth(1, 30);
  layout->addWidget(list_, 1);

  restore_ = new QPushButton(Tr("Wiederherstellen", state_), this);
  empty_ = new QPushButton(Tr("Papierkorb leeren", state_), this);
  cancel_ = new QPushButton(Tr("Abbrechen", state_), this);
  restore_->setObjectName(QStringLiteral("trashRestore"));
  empty_->setObjectName(QStringLiteral("trashEmpty"));
  cancel_->setObjectName(QStringLiteral("trashCancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(restore_);
  buttons->addStretch(1);
  buttons->addWidget(empty_);
  buttons->addStretch(1);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);

  connect(restore_, &QPushButton::clicked, this, &TrashWindow::RestoreChosen);
  connect(empty_, &QPushButton::clicked, this, &TrashWindow::EmptyTrashNow);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  FillList();
}

void TrashWindow::FillList() {
  list_->clear();
  for (const TrashEntry& entry : TrashEntries(state_.songs)) {
    new QTreeWidgetItem(list_, {FromCp1252(entry.title), FromCp1252(entry.id)});
  }
  ShowCount();
}

void TrashWindow::ShowCount() {
  count_->setText(QString::number(list_->topLevelItemCount()));
}

void TrashWindow::RestoreChosen() {
  const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
  if (chosen.isEmpty()) {
    messages_.Show(this, MessageIcon::Information, Tr("Daten Wiederherstellen", state_),
                   Tr("Keine Auswahl getroffen!", state_));
    return;
  }
  std::vector<std::string> ids;
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = list_->topLevelItem(row);
    if (item->isSelected()) ids.push_back(ToCp1252(item->text(1)));
  }
  const RestoreResult result = RestoreSongs(state_.songs, ids);
  for (const TrashEntry& entry : result.restored) {
    const QString id = FromCp1252(entry.id);
    for (int row = list_->topLevelItemCount() - 1; row >= 0; --row) {
      if (list_->topLevelItem(row)->text(1) == id) delete list_->takeTopLevelItem(row);
    }
  }
  ShowCount();
  if (!result.restored.empty()) emit songsRestored(result.restored);
  ShowUserMessage(messages_, this,
                  result.saved ? RestoredMessage(state_.language)
                               : SongListNotSavedMessage(state_.language, state_.songs.Files().lieder));
}

void TrashWindow::EmptyTrashNow() {
  if (!messages_.AskYesNo(this, Tr("Papierkorb leeren", state_), Tr("Alle Daten unwiederruflich löschen?", state_))) {
    return;
  }
  const PurgeResult result = EmptyTrash(state_.songs);
  list_->clear();
  ShowCount();
  ShowUserMessage(messages_, this,
                  result.saved ? TrashEmptiedMessage(state_.language)
                               : SongListNotSavedMessage(state_.language, state_.songs.Files().lieder));
}

}  // namespace psalmora
