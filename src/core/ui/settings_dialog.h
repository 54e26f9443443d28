// SettingsDialog "Einstellungen allgemein": layout assignment, band heights, start-up switches, scroll
// step, the (read-only) data folder and the server address. "Speichern" writes the dialog's keys and
// keeps every other key.
#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "render/layout_file.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace psalmora {

struct AppState;
class Messages;

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(AppState& state, QWidget* parent = nullptr);

  // The settings file this dialog writes (the program folder's "config/einstellungen.ini").
  std::filesystem::path SettingsFile() const;

  // Widgets by role, for tests.
  QTabWidget* Tabs() const { return tabs_; }
  QComboBox* VorschauLayout() const { return vorschau_; }
  QComboBox* KopfzeileLayout() const { return kopfzeile_; }
  QComboBox* BeamerLayout() const { return beamer_; }
  QComboBox* FusszeileLayout() const { return fusszeile_; }
  QComboBox* FormatLayout() const { return format_; }
  QLineEdit* KopfzeileHeight() const { return kopfzeileHeight_; }
  QLineEdit* FusszeileHeight() const { return fusszeileHeight_; }
  QLineEdit* ScrollStep() const { return scrollweite_; }
  QLineEdit* DataFolderField() const { return dataFolder_; }
  QLineEdit* ServerAddressField() const { return serverAddress_; }
  QLineEdit* PoolUserField() const { return poolUser_; }
  QLineEdit* PoolPasswordField() const { return poolPassword_; }
  QLineEdit* VideoDownloaderField() const { return videoDownloader_; }
  QCheckBox* UpdateAuto() const { return updateauto_; }
  QCheckBox* AutoOpen() const { return autoopen_; }
  QCheckBox* MouseWarning() const { return warnungmaus_; }
  QCheckBox* FitBeamerText() const { return fitText_; }
  QPushButton* SaveButton() const { return saveButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  // False when the "layouts" folder could not be read (the combo boxes then hold only the current ids).
  bool LayoutFolderRead() const { return layoutFolderRead_; }

  // Opens the dialog over mainWindow (blocked meanwhile) and gives the focus back when it closes.
  static void Run(AppState& state, Messages& messages, QWidget* mainWindow);

 public slots:
  // "Speichern": dialog values into the settings and the file, then close.
  void Save();

 private:
  QWidget* BuildLayoutPage();
  QWidget* BuildMiscPage();
  QComboBox* LayoutCombo(const std::string& currentKey);
  QLineEdit* NumberField(int value);

  AppState& state_;
  std::vector<LayoutEntry> layouts_;
  bool layoutFolderRead_ = false;
  QTabWidget* tabs_ = nullptr;
  QComboBox *vorschau_ = nullptr, *kopfzeile_ = nullptr, *beamer_ = nullptr, *fusszeile_ = nullptr, *format_ = nullptr;
  QLineEdit *kopfzeileHeight_ = nullptr, *fusszeileHeight_ = nullptr, *scrollweite_ = nullptr, *dataFolder_ = nullptr;
  QLineEdit* serverAddress_ = nullptr;
  QLineEdit *poolUser_ = nullptr, *poolPassword_ = nullptr;
  QLineEdit* videoDownloader_ = nullptr;
  QCheckBox *updateauto_ = nullptr, *autoopen_ = nullptr, *warnungmaus_ = nullptr, *fitText_ = nullptr;
  QPushButton *saveButton_ = nullptr, *cancelButton_ = nullptr;
};

}  // namespace psalmora
