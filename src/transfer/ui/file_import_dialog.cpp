// "Import anderer Dateien". Its captions are fixed German texts; the rule editor's pass through Tr.
#include "transfer/ui/file_import_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/ui/ui_text.h"
#include "transfer/ui/assignment_rule_editor.h"

namespace psalmora {

FileImportDialog::FileImportDialog(const QStringList& files, const QString& type, const AssignmentRules& rules,
                                   LanguageTable& language, QWidget* parent)
    : QDialog(parent), language_(language), files_(files), rules_(rules) {
  setWindowTitle(QStringLiteral("Import anderer Dateien"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  resize(530, 400);

  auto* filesFrame = new QGroupBox(QString::fromUtf8("ausgewählte Dateien"));
  fileList_ = new QTreeWidget;
  fileList_->setHeaderLabels({QStringLiteral("Dateiname")});
  fileList_->setRootIsDecorated(false);
  fileList_->header()->resizeSection(0, 480);
  for (const QString& file : files) new QTreeWidgetItem(fileList_, {QDir::toNativeSeparators(file)});
  (new QVBoxLayout(filesFrame))->addWidget(fileList_);

  auto* typeFrame = new QGroupBox(QStringLiteral("zu importierender Dateityp"));
  presentation_ = new QRadioButton(QStringLiteral("Powerpoint (PPT, PPS) *"));
  auto* pdf = new QRadioButton(QStringLiteral("PDF"));
  auto* word = new QRadioButton(QStringLiteral("Word (DOC)"));
  text_ = new QRadioButton(QStringLiteral("Text (TXT)"));
  pdf->setEnabled(false);
  word->setEnabled(false);
  presentation_->setChecked(type == QStringLiteral("ppt"));
  text_->setChecked(type == QStringLiteral("txt"));
  auto* typeLayout = new QVBoxLayout(typeFrame);
  for (QRadioButton* option : {presentation_, pdf, word, text_}) typeLayout->addWidget(option);
  auto* note = new QLabel(
      QString::fromUtf8("* Um Powerpoint Dateien importieren zu können muss LibreOffice Impress installiert sein."));
  note->setWordWrap(true);
  typeLayout->addWidget(note);

  auto* fieldFrame = new QGroupBox(QStringLiteral("Zuordnung zur Datenbank"));
  fieldList_ = new QTreeWidget;
  fieldList_->setHeaderLabels({QStringLiteral("Feld"), QStringLiteral("Zuordnung")});
  fieldList_->setRootIsDecorated(false);
  fieldList_->header()->resizeSection(0, 80);
  fieldList_->header()->resizeSection(1, 200);
  fieldList_->setContextMenuPolicy(Qt::CustomContextMenu);
  const std::vector<std::string> names = AssignableFieldNames();
  for (std::size_t row = 0; row < names.size(); ++row) {
    new QTreeWidgetItem(fieldList_, {FromCp1252(names[row]), QString()});
    ShowAssignment(static_cast<int>(row));
  }
  // Wider than 80 pixels where a name needs it ("Videoverknüpfung - ID"), so no name is cut off.
  fieldList_->resizeColumnToContents(0);
  fieldList_->header()->resizeSection(0, std::max(80, fieldList_->header()->sectionSize(0) + 8));
  (new QVBoxLayout(fieldFrame))->addWidget(fieldList_);

  fieldMenu_ = new QMenu(this);
  QAction* edit = fieldMenu_->addAction(QStringLiteral("Zuordnung bearbeiten"));
  QAction* remove = fieldMenu_->addAction(QStringLiteral("Zuordnung entfernen"));
  connect(edit, &QAction::triggered, this,
          [this] { EditAssignmentRule(fieldList_->indexOfTopLevelItem(fieldList_->currentItem())); });
  connect(remove, &QAction::triggered, this,
          [this] { RemoveAssignment(fieldList_->indexOfTopLevelItem(fieldList_->currentItem())); });
  connect(fieldList_, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& point) {
    if (running_ || !fieldList_->itemAt(point)) return;
    fieldList_->setCurrentItem(fieldList_->itemAt(point));
    fieldMenu_->popup(fieldList_->viewport()->mapToGlobal(point));
  });
  connect(fieldList_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { EditAssignmentRule(fieldList_->indexOfTopLevelItem(item)); });

  progress_ = new QProgressBar;
  progress_->setRange(0, 100);
  progress_->setValue(0);
  counter_ = new QLabel;
  start_ = new QPushButton(QStringLiteral("Import starten"));
  cancel_ = new QPushButton(QStringLiteral("Abbrechen"));
  connect(start_, &QPushButton::clicked, this, &FileImportDialog::importRequested);
  connect(cancel_, &QPushButton::clicked, this, &FileImportDialog::close);

  auto* middle = new QHBoxLayout;
  middle->addWidget(typeFrame, 1);
  middle->addWidget(fieldFrame, 2);
  auto* progressRow = new QHBoxLayout;
  progressRow->addWidget(progress_, 1);
  progressRow->addWidget(counter_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(start_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(filesFrame);
  layout->addLayout(middle, 1);
  layout->addLayout(progressRow);
  layout->addLayout(buttons);
}

bool FileImportDialog::PresentationChosen() const {
  return presentation_->isChecked();
}

void FileImportDialog::ShowAssignment(int row) {
  if (QTreeWidgetItem* item = fieldList_->topLevelItem(row)) {
    item->setText(1, rules_[static_cast<std::size_t>(row)].assigned ? QStringLiteral("Zugeordnet") : QString());
  }
}

void FileImportDialog::EditAssignmentRule(int row) {
  if (running_ || row < 0 || row >= static_cast<int>(rules_.size())) return;
  if (editor_) editor_->close();
  auto* editor = new AssignmentRuleEditor(rules_[static_cast<std::size_t>(row)], language_, this);
  connect(editor, &AssignmentRuleEditor::ruleApplied, this, [this, row](const AssignmentRule& rule) {
    rules_[static_cast<std::size_t>(row)] = rule;
    ShowAssignment(row);
  });
  // Gone from Editor() as soon as it is closed, not only once it is deleted.
  connect(editor, &QDialog::finished, this, [this] { editor_ = nullptr; });
  editor_ = editor;
  editor->show();
}

void FileImportDialog::RemoveAssignment(int row) {
  if (running_ || row < 0 || row >= static_cast<int>(rules_.size())) return;
  rules_[static_cast<std::size_t>(row)] = AssignmentRule{};
  ShowAssignment(row);
}

void FileImportDialog::SetProgress(int percent, int done, int total) {
  progress_->setValue(percent);
  counter_->setText(QString::number(done) + QStringLiteral("/") + QString::number(total));
}

void FileImportDialog::SetRunning(bool running) {
  running_ = running;
  start_->setEnabled(!running);
  cancel_->setEnabled(!running);
  fieldList_->setEnabled(!running);
  presentation_->setEnabled(!running);
  text_->setEnabled(!running);
}

void FileImportDialog::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void FileImportDialog::reject() {
  if (!running_) QDialog::reject();
}

}  // namespace psalmora
