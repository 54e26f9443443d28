// LanguageDialog "Sprache": four flags with option buttons; an option sets the setting "sprache" at once.
#pragma once

#include <QDialog>
#include <array>

class QRadioButton;
class QPushButton;

namespace psalmora {

class LanguageTable;
struct Settings;

class LanguageDialog : public QDialog {
  Q_OBJECT

 public:
  // parent is the main window when it exists; it is blocked while the dialog is open.
  LanguageDialog(Settings& settings, LanguageTable& language, QWidget* parent = nullptr);

  QRadioButton* Option(int languageNumber) const { return options_.at(languageNumber - 1); }
  QPushButton* OkButton() const { return okButton_; }

  // Shows the dialog until "OK" or the close box; "sprache" holds the choice afterwards (0 becomes 1).
  static void Run(Settings& settings, LanguageTable& language, QWidget* mainWindow);

 private:
  Settings& settings_;
  std::array<QRadioButton*, 4> options_{};
  QPushButton* okButton_ = nullptr;
};

}  // namespace psalmora
