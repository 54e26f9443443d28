// The dialog "Import anderer Dateien": the chosen files, the file type, the assignment of the song
// fields, the progress of the import and its two buttons.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include "transfer/assignment_rules.h"
#include "transfer/ui/assignment_rule_editor.h"

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace psalmora {

class LanguageTable;

class FileImportDialog : public QDialog {
  Q_OBJECT

 public:
  // type "ppt" preselects the presentation option, "txt" the text option.
  FileImportDialog(const QStringList& files, const QString& type, const AssignmentRules& rules,
                   LanguageTable& language, QWidget* parent);

  const AssignmentRules& Rules() const { return rules_; }
  QStringList Files() const { return files_; }
  bool PresentationChosen() const;

  // `EditAssignmentRule` for a row of the field list; the dialog waits until the editor is closed.
  void EditAssignmentRule(int row);
  void RemoveAssignment(int row);
  // The progress bar and the counter "done/total".
  void SetProgress(int percent, int done, int total);
  // While an import runs nothing but the progress changes, and the window cannot be closed.
  void SetRunning(bool running);

  QTreeWidget* FileList() const { return fileList_; }
  QTreeWidget* FieldList() const { return fieldList_; }
  QRadioButton* PresentationOption() const { return presentation_; }
  QRadioButton* TextOption() const { return text_; }
  QProgressBar* Progress() const { return progress_; }
  QLabel* Counter() const { return counter_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* CancelButton() const { return cancel_; }
  QMenu* FieldMenu() const { return fieldMenu_; }
  // The open rule editor, if any.
  AssignmentRuleEditor* Editor() const { return editor_; }

 signals:
  // "Import starten"
  void importRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void ShowAssignment(int row);

  LanguageTable& language_;
  QStringList files_;
  AssignmentRules rules_;
  bool running_ = false;
  QTreeWidget* fileList_;
  QTreeWidget* fieldList_;
  QRadioButton* presentation_;
  QRadioButton* text_;
  QProgressBar* progress_;
  QLabel* counter_;
  QPushButton* start_;
  QPushButton* cancel_;
  QMenu* fieldMenu_;
  QPointer<AssignmentRuleEditor> editor_;
};

}  // namespace psalmora
