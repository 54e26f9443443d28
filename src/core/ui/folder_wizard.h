// The first-start wizard "Datenordner festlegen": the user names the data folder, missing levels are
// created, the choice is stored as "DIR-Daten". Its texts are fixed German and not translated.
#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>

class QLineEdit;
class QPushButton;

namespace psalmora {

class Messages;
class RegistryStore;

// Asks for a folder: (parent, prompt, start folder) -> chosen folder or empty.
using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;

class FolderWizard : public QDialog {
  Q_OBJECT

 public:
  FolderWizard(RegistryStore& registry, Messages& messages, const QString& proposal, QWidget* parent = nullptr);

  // Replaces the system folder chooser (tests).
  void SetFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }

  QString PathText() const;
  void SetPathText(const QString& text);
  // The accepted data folder once the dialog was accepted.
  const std::filesystem::path& ChosenFolder() const { return chosen_; }
  // True when the dialog closed because the path could not be stored (the program has to end).
  bool StoreFailed() const { return storeFailed_; }

  QPushButton* ContinueButton() const { return continueButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  QPushButton* FolderButton() const { return folderButton_; }

  // The user's profile folder followed by "Psalmora".
  static QString DefaultProposal();

 public slots:
  void ChooseFolder();
  void Continue();

 private:
  bool CreateOrAccept(const std::filesystem::path& path);

  RegistryStore& registry_;
  Messages& messages_;
  FolderChooser chooser_;
  QLineEdit* pathField_ = nullptr;
  QPushButton* folderButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* continueButton_ = nullptr;
  std::filesystem::path chosen_;
  bool storeFailed_ = false;
};

}  // namespace psalmora
