// The rule editor: each check box enables its own controls at once.
#include "transfer/ui/assignment_rule_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ui/ui_text.h"

namespace psalmora {

AssignmentRuleEditor::AssignmentRuleEditor(const AssignmentRule& rule, LanguageTable& language, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(Tr("Zuordnungsregel editieren", language));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  resize(270, 240);

  auto* frame = new QGroupBox(Tr("Zuordnungsregel", language));
  auto* form = new QFormLayout(frame);
  source_ = new QComboBox;
  source_->addItems({Tr("Dateiname", language), Tr("erste Textzeile", language), Tr("letzte Textzeile", language)});
  form->addRow(Tr("Textzeile oder Dateiname:", language), source_);
  split_ = new QCheckBox(Tr("Zeile teilen", language));
  form->addRow(split_);
  separator_ = new QLineEdit;
  separator_->setMaxLength(1);  // only the first character counts
  separator_->setMaximumWidth(40);
  form->addRow(Tr("Trennzeichen:", language), separator_);
  part_ = new QComboBox;
  for (int number = 1; number <= 10; ++number) part_->addItem(QString::number(number));
  form->addRow(Tr("Zeilenteil verwenden:", language), part_);
  replace_ = new QCheckBox(Tr("Zeichenkette ersetzen", language));
  form->addRow(replace_);
  search_ = new QLineEdit;
  form->addRow(Tr("Suchen nach:", language), search_);
  replacement_ = new QLineEdit;
  form->addRow(Tr("Ersetzen mit:", language), replacement_);
  apply_ = new QPushButton(Tr("übernehmen", language));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(apply_, 0, Qt::AlignRight);

  if (rule.assigned) {
    source_->setCurrentIndex(static_cast<int>(rule.source));
    split_->setChecked(rule.split);
    separator_->setText(FromCp1252(rule.separator));
    part_->setCurrentIndex(rule.part - 1);  // part 0: none chosen
    replace_->setChecked(rule.replace);
    search_->setText(FromCp1252(rule.search));
    replacement_->setText(FromCp1252(rule.replacement));
  } else {
    part_->setCurrentIndex(-1);
  }
  UpdateEnabled();
  connect(split_, &QCheckBox::toggled, this, &AssignmentRuleEditor::UpdateEnabled);
  connect(replace_, &QCheckBox::toggled, this, &AssignmentRuleEditor::UpdateEnabled);
  connect(apply_, &QPushButton::clicked, this, [this] {
    emit ruleApplied(Rule());
    close();
  });
}

AssignmentRule AssignmentRuleEditor::Rule() const {
  AssignmentRule rule;
  rule.assigned = true;
  rule.source = static_cast<RuleSource>(std::max(source_->currentIndex(), 0));
  rule.split = split_->isChecked();
  rule.separator = ToCp1252(separator_->text());
  rule.part = part_->currentIndex() + 1;
  rule.replace = replace_->isChecked();
  rule.search = ToCp1252(search_->text());
  rule.replacement = ToCp1252(replacement_->text());
  return rule;
}

void AssignmentRuleEditor::UpdateEnabled() {
  separator_->setEnabled(split_->isChecked());
  part_->setEnabled(split_->isChecked());
  search_->setEnabled(replace_->isChecked());
  replacement_->setEnabled(replace_->isChecked());
}

}  // namespace psalmora
