// FolderWizard: the dialog and its "Weiter >>" rules (accept an existing folder, else create it level by
// level, then store it in the registry).
#include "core/ui/folder_wizard.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <optional>

#include "core/data_folder.h"
#include "core/folder_text.h"
#include "core/registry_store.h"
#include "core/ui/messages.h"

namespace psalmora {
namespace {

QString SystemFolderChooser(QWidget* parent, const QString& prompt, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, prompt, start);
}

std::string RegistryText(std::filesystem::path path) {
  std::string text = path.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

FolderWizard::FolderWizard(RegistryStore& registry, Messages& messages, const QString& proposal, QWidget* parent)
    : QDialog(parent), registry_(registry), messages_(messages), chooser_(SystemFolderChooser) {
  setWindowTitle(QStringLiteral("Datenordner festlegen"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  resize(400, 200);

  auto* text = new QLabel(QStringLiteral(
      "Legen Sie den Ordner fest, in dem zukünftig die Daten der 'Psalmora' gespeichert werden sollen!"));
  text->setWordWrap(true);
  pathField_ = new QLineEdit(proposal);
  pathField_->setMinimumWidth(300);
  folderButton_ = new QPushButton;
  folderButton_->setIcon(
      QIcon::fromTheme(QStringLiteral("folder-open"), style()->standardIcon(QStyle::SP_DirOpenIcon)));
  folderButton_->setFixedSize(24, 24);
  cancelButton_ = new QPushButton(QStringLiteral("Abbrechen"));
  continueButton_ = new QPushButton(QStringLiteral("Weiter >>"));
  continueButton_->setDefault(true);

  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(pathField_, 1);
  pathRow->addWidget(folderButton_);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(cancelButton_);
  buttonRow->addWidget(continueButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addSpacing(6);
  layout->addLayout(pathRow);
  layout->addStretch(1);
  layout->addLayout(buttonRow);

  connect(folderButton_, &QPushButton::clicked, this, &FolderWizard::ChooseFolder);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(continueButton_, &QPushButton::clicked, this, &FolderWizard::Continue);
}

QString FolderWizard::DefaultProposal() {
  return QDir(QDir::homePath()).filePath(QStringLiteral("Psalmora"));
}

QString FolderWizard::PathText() const {
  return pathField_->text();
}

void FolderWizard::SetPathText(const QString& text) {
  pathField_->setText(text);
}

void FolderWizard::ChooseFolder() {
  const QString answer =
      chooser_(this, QStringLiteral("Wähle den Ordner aus in dem die Liederdaten zukünftig gespeichert werden sollen"),
               PathText());
  if (!answer.isEmpty()) SetPathText(QDir::toNativeSeparators(answer));
}

bool FolderWizard::CreateOrAccept(const std::filesystem::path& path) {
  const FolderCreation creation = CreateFolderLevels(path);
  for (std::size_t i = 0; i < creation.failed.size(); ++i) {
    messages_.Show(this, MessageIcon::Information, QStringLiteral("Neuen Ordner anlegen"),
                   QStringLiteral("Der Ordner konnte nicht angelegt werden!"));
  }
  return creation.accepted;
}

void FolderWizard::Continue() {
  if (PathText().trimmed().isEmpty()) return;
  const std::optional<std::filesystem::path> typed = AbsoluteFolderFromText(
      QDir::cleanPath(QDir::fromNativeSeparators(PathText().trimmed())).toStdString(), QDir::homePath().toStdString());
  if (!typed) {
    messages_.Show(this, MessageIcon::Warning, QStringLiteral("Datenordner festlegen"),
                   QStringLiteral("Bitte geben Sie den vollständigen Pfad des Ordners an, zum Beispiel %1.")
                       .arg(QDir::toNativeSeparators(DefaultProposal())));
    return;  // the wizard stays open
  }
  const std::filesystem::path& path = *typed;
  if (!CreateOrAccept(path)) return;  // the wizard stays open
  if (!registry_.Write(kRegistryDataFolder, RegistryText(path)).ok) {
    messages_.Show(this, MessageIcon::Error, QStringLiteral("Eintrag in Registry"),
                   QStringLiteral("Der angegebene Pfad konnte nicht gespeichert werden!"));
    storeFailed_ = true;
    reject();
    return;
  }
  chosen_ = path;
  accept();
}

}  // namespace psalmora
