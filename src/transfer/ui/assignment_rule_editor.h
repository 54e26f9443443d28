// `EditAssignmentRule`: the small window "Zuordnungsregel editieren" that edits the rule of one song
// field of the import dialog.
#pragma once

#include <QDialog>

#include "transfer/assignment_rules.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace psalmora {

class LanguageTable;

class AssignmentRuleEditor : public QDialog {
  Q_OBJECT

 public:
  // Filled from rule; an unassigned rule gives "Dateiname", no part, both boxes off, empty texts.
  AssignmentRuleEditor(const AssignmentRule& rule, LanguageTable& language, QWidget* parent);

  // The rule as the controls show it now (always assigned).
  AssignmentRule Rule() const;

  QComboBox* SourceBox() const { return source_; }
  QCheckBox* SplitBox() const { return split_; }
  QLineEdit* SeparatorField() const { return separator_; }
  QComboBox* PartBox() const { return part_; }
  QCheckBox* ReplaceBox() const { return replace_; }
  QLineEdit* SearchField() const { return search_; }
  QLineEdit* ReplacementField() const { return replacement_; }
  QPushButton* ApplyButton() const { return apply_; }

 signals:
  // "übernehmen": the rule to store. Closing the window instead discards the changes.
  void ruleApplied(const psalmora::AssignmentRule& rule);

 private:
  void UpdateEnabled();

  QComboBox* source_;
  QCheckBox* split_;
  QLineEdit* separator_;
  QComboBox* part_;
  QCheckBox* replace_;
  QLineEdit* search_;
  QLineEdit* replacement_;
  QPushButton* apply_;
};

}  // namespace psalmora
