// The editor keeps the records of its file in memory while it is open (it blocks the main window, so
// nothing else changes the file meanwhile) and writes the whole file after every change. Row k of the
// list is record k.
#include "collections/ui/collection_editor.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "collections/collection_file.h"
#include "collections/pending_deletions.h"
#include "core/settings.h"
#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "core/ui/user_message_box.h"

namespace psalmora {
namespace {

QToolButton* EditorButton(const QString& themeIcon, IconId fallback, const QString& tooltip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setIcon(QIcon::fromTheme(themeIcon, AppIcon(fallback)));
  button->setIconSize(QSize(20, 20));
  button->setFixedSize(50, 25);
  button->setToolTip(tooltip);
  return button;
}

}  // namespace

CollectionNameWindow::CollectionNameWindow(AppState& state, CollectionKind kind, const QString& title,
                                           const QString& name, const QString& poolId, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("collectionNameWindow"));
  setWindowTitle(title);
  if (parent) setWindowModality(Qt::WindowModal);
  resize(350, 250);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  name_ = new QLineEdit(name, this);
  name_->setObjectName(QStringLiteral("collectionName"));
  form->addRow(Tr("Name", state), name_);
  if (kind == CollectionKind::Group) {
    poolId_ = new QLineEdit(poolId, this);
    poolId_->setObjectName(QStringLiteral("collectionPoolId"));
    form->addRow(Tr("text für datenpoolid", state), poolId_);
  }
  layout->addLayout(form);
  layout->addStretch(1);
  save_ = new QPushButton(Tr("Speichern", state), this);
  save_->setObjectName(QStringLiteral("collectionNameSave"));
  save_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(save_);
  layout->addLayout(buttons);
  connect(save_, &QPushButton::clicked, this, &QDialog::accept);
}

CollectionEditor::CollectionEditor(AppState& state, Messages& messages, CollectionKind kind, QWidget* parent)
    : QDialog(parent),
      state_(state),
      messages_(messages),
      kind_(kind),
      file_(CollectionFilePath(state.dataFiles, kind)),
      records_(file_.Records()) {
  setObjectName(QStringLiteral("CollectionEditor"));
  title_ = FromCp1252(CollectionEditorTitle(kind_, state_.language));
  setWindowTitle(title_);
  if (parent) setWindowModality(Qt::WindowModal);
  resize(400, 300);

  auto* layout = new QVBoxLayout(this);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->setSpacing(2);
  new_ = EditorButton(QStringLiteral("document-new"), IconId::SelectionAdd, Tr("Neue Auswahl erstellen", state_), this);
  edit_ = EditorButton(QStringLiteral("document-properties"), IconId::EditList, Tr("Bearbeiten", state_), this);
  delete_ = EditorButton(QStringLiteral("edit-delete"), IconId::SelectionRemove, Tr("Auswahl löschen", state_), this);
  buttonRow->addWidget(new_);
  buttonRow->addWidget(edit_);
  buttonRow->addWidget(delete_);
  buttonRow->addStretch(1);
  layout->addLayout(buttonRow);

  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("collectionList"));
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setAllColumnsShowFocus(true);
  QStringList headers{Tr("Name", state_), Tr("Einträge", state_)};
  if (kind_ == CollectionKind::Group) headers << Tr("Datenpool ID", state_);
  list_->setHeaderLabels(headers);
  list_->setColumnWidth(0, 200);
  list_->setColumnWidth(1, 80);
  layout->addWidget(list_, 1);

  ok_ = new QPushButton(Tr("ok", state_), this);
  ok_->setObjectName(QStringLiteral("collectionEditorOk"));
  auto* okRow = new QHBoxLayout;
  okRow->addStretch(1);
  okRow->addWidget(ok_);
  layout->addLayout(okRow);

  connect(new_, &QToolButton::clicked, this, &CollectionEditor::NewCollectionEntry);
  connect(edit_, &QToolButton::clicked, this, &CollectionEditor::EditChosen);
  connect(delete_, &QToolButton::clicked, this, &CollectionEditor::DeleteChosen);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &CollectionEditor::EditChosen);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  file_.Load();
  FillList();
}

void CollectionEditor::Run(AppState& state, Messages& messages, CollectionKind kind, QWidget* parent) {
  CollectionEditor editor(state, messages, kind, parent);
  editor.exec();
  if (parent) parent->activateWindow();
}

void CollectionEditor::FillList() {
  list_->clear();
  for (std::size_t row = 0; row < records_.size(); ++row) {
    list_->addTopLevelItem(new QTreeWidgetItem(list_));
    SetRow(static_cast<int>(row), records_[row]);
  }
}

void CollectionEditor::SetRow(int row, const std::string& record) {
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (!item) return;
  item->setText(0, FromCp1252(CollectionName(record)));
  item->setText(1, QString::number(CollectionEntryCount(record)));
  if (kind_ == CollectionKind::Group) item->setText(2, FromCp1252(CollectionPoolId(record)));
}

int CollectionEditor::ChosenRow() const {
  const QList<QTreeWidgetItem*> chosen = list_->selectedItems();
  if (chosen.isEmpty()) return -1;
  const int row = list_->indexOfTopLevelItem(chosen.front());
  return row < static_cast<int>(records_.size()) ? row : -1;
}

bool CollectionEditor::Save() {
  if (file_.Save()) return true;
  if (file_.Unreadable()) ShowUserMessage(messages_, this, UnreadableFileMessage(state_.language, file_.File()));
  return false;
}

bool CollectionEditor::ReadyToChange(bool rowsMatter) {
  if (file_.ReloadIfChanged()) {
    FillList();
    if (rowsMatter) return false;
  }
  if (!file_.Unreadable()) return true;
  ShowUserMessage(messages_, this, UnreadableFileMessage(state_.language, file_.File()));
  return false;
}

void CollectionEditor::NewCollectionEntry() {
  if (!ReadyToChange(false)) return;
  NewCollection(records_, kind_, ChangeStampNow(state_.settings.useridcb));
  list_->insertTopLevelItem(0, new QTreeWidgetItem);
  SetRow(0, records_.front());
  Save();
}

void CollectionEditor::DeleteChosen() {
  const int row = ChosenRow();
  if (row < 0) {
    messages_.Show(this, MessageIcon::Information, Tr("Auswahl löschen", state_),
                   Tr("Keine Auswahl getroffen!", state_));
    return;
  }
  if (!messages_.AskYesNo(this, Tr("Auswahl löschen", state_), Tr("Die Auswahl wirklich löschen?", state_))) return;
  if (!ReadyToChange(true)) return;
  const SettingsFileRef settings{state_.settings, state_.programFolder / kSettingsFileName};
  const DeleteCollectionResult result =
      DeleteCollection(records_, static_cast<std::size_t>(row), kind_, state_.dataFiles, settings);
  if (!result.deleted) return;
  delete list_->takeTopLevelItem(row);
  Save();
}

void CollectionEditor::EditChosen() {
  const int row = ChosenRow();
  if (row < 0) {
    messages_.Show(this, MessageIcon::Information, title_, Tr("Keine Auswahl getroffen!", state_));
    return;
  }
  const std::string& record = records_[static_cast<std::size_t>(row)];
  CollectionNameWindow window(state_, kind_, title_, FromCp1252(CollectionName(record)),
                              FromCp1252(CollectionPoolId(record)), this);
  if (window.exec() != QDialog::Accepted) return;
  if (!ReadyToChange(true)) return;
  const std::string poolId = window.PoolIdField() ? ToCp1252(window.PoolIdField()->text()) : std::string();
  const RenameResult renamed =
      RenameCollection(records_, static_cast<std::size_t>(row), kind_, ToCp1252(window.NameField()->text()), poolId,
                       ChangeStampNow(state_.settings.useridcb));
  if (renamed.poolIdTakenBy) {
    ShowUserMessage(messages_, this, PoolIdTakenMessage(*renamed.poolIdTakenBy, kind_, state_.language));
  }
  if (!renamed.saved) return;
  SetRow(row, records_[static_cast<std::size_t>(row)]);
  Save();
}

}  // namespace psalmora
