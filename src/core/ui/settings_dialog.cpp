// SettingsDialog: two tab pages built with Qt layouts in the documented widget order.
#include "core/ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <optional>
#include <vector>

#include "core/record_fields.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "render/layout_file.h"

namespace psalmora {
namespace {

int CheckValue(const QCheckBox* box) {
  return box->checkState() == Qt::Checked ? 1 : 0;
}

int NumberValue(const QLineEdit* field) {
  return static_cast<int>(LeadingNumber(field->text().toStdString()));
}

std::string ChosenKey(const QComboBox* combo, const std::string& fallback) {
  const QVariant data = combo->currentData();
  return data.isValid() ? data.toString().toStdString() : fallback;
}

QCheckBox* SettingCheckBox(const QString& caption, int value) {
  auto* box = new QCheckBox(caption);
  if (value < 0) {
    // Not decided yet ("updateauto" -1): shown as the third state until the user clicks it.
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    QObject::connect(box, &QCheckBox::stateChanged, box, [box](int state) {
      if (state != Qt::PartiallyChecked) box->setTristate(false);
    });
  } else {
    box->setChecked(value != 0);
  }
  return box;
}

}  // namespace

SettingsDialog::SettingsDialog(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setWindowTitle(Tr("Einstellungen allgemein", state_));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  if (parent) setWindowModality(Qt::WindowModal);
  resize(428, 490);

  std::optional<std::vector<LayoutEntry>> choices = ListLayouts(state_.programFolder / "layouts");
  layoutFolderRead_ = choices.has_value();
  if (choices) layouts_ = std::move(*choices);

  tabs_ = new QTabWidget;
  tabs_->addTab(BuildLayoutPage(), QStringLiteral("Layout Zuordnung"));
  tabs_->addTab(BuildMiscPage(), QStringLiteral("sonstiges"));

  saveButton_ = new QPushButton(Tr("Speichern", state_));
  cancelButton_ = new QPushButton(Tr("Abbrechen", state_));
  saveButton_->setDefault(true);
  connect(saveButton_, &QPushButton::clicked, this, &SettingsDialog::Save);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(saveButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addLayout(buttons);
}

std::filesystem::path SettingsDialog::SettingsFile() const {
  return state_.programFolder / kSettingsFileName;
}

QComboBox* SettingsDialog::LayoutCombo(const std::string& currentKey) {
  auto* combo = new QComboBox;
  bool found = false;
  for (const LayoutEntry& choice : layouts_) {
    combo->addItem(FromCp1252(choice.name.empty() ? choice.key : choice.name), QString::fromStdString(choice.key));
    found = found || choice.key == currentKey;
  }
  // A setting naming a layout that is gone stays as it is instead of silently turning into another one.
  if (!found) combo->addItem(FromCp1252(currentKey), QString::fromStdString(currentKey));
  combo->setCurrentIndex(combo->findData(QString::fromStdString(currentKey)));
  return combo;
}

QLineEdit* SettingsDialog::NumberField(int value) {
  auto* field = new QLineEdit(QString::number(value));
  field->setValidator(new QIntValidator(0, 99999, field));
  field->setMaximumWidth(60);
  return field;
}

QWidget* SettingsDialog::BuildLayoutPage() {
  const LayoutAssignment& layouts = state_.settings.layouts;
  auto* frame = new QGroupBox(Tr("Einstellungen Fensterlayout", state_));
  auto* grid = new QGridLayout(frame);
  grid->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(Tr("Layout", state_).toHtmlEscaped())), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(Tr("Fensterhöhe", state_).toHtmlEscaped())), 0, 2, 1, 2);

  vorschau_ = LayoutCombo(layouts.vorschau);
  kopfzeile_ = LayoutCombo(layouts.kopfzeile);
  beamer_ = LayoutCombo(layouts.beamer);
  fusszeile_ = LayoutCombo(layouts.fusszeile);
  format_ = LayoutCombo(layouts.format);
  kopfzeileHeight_ = NumberField(state_.settings.akkordzeilehoehe);
  fusszeileHeight_ = NumberField(state_.settings.fusszeilenhoehe);

  const struct {
    QString caption;
    QComboBox* combo;
    QLineEdit* height;
  } rows[] = {{Tr("Liedtextvorschau", state_), vorschau_, nullptr},
              {Tr("Präsentation Kopfzeile", state_), kopfzeile_, kopfzeileHeight_},
              {Tr("Präsentation Hauptfenster", state_), beamer_, nullptr},
              {Tr("Präsentation Fußzeile", state_), fusszeile_, fusszeileHeight_},
              {Tr("Für Ausdruck", state_), format_, nullptr}};
  int row = 1;
  for (const auto& entry : rows) {
    grid->addWidget(new QLabel(entry.caption), row, 0);
    grid->addWidget(entry.combo, row, 1);
    if (entry.height) {
      grid->addWidget(entry.height, row, 2);
      grid->addWidget(new QLabel(QStringLiteral("Pixel")), row, 3);
    }
    ++row;
  }
  grid->setColumnStretch(1, 1);

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(frame);
  layout->addStretch(1);
  return page;
}

QWidget* SettingsDialog::BuildMiscPage() {
  const Settings& settings = state_.settings;
  auto* misc = new QGroupBox(Tr("Sonstiges", state_));
  updateauto_ = SettingCheckBox(Tr("auto Updates suchen", state_), settings.updateauto);
  autoopen_ = SettingCheckBox(Tr("Präsentationsfenster auto", state_), settings.autoopen);
  warnungmaus_ = SettingCheckBox(Tr("Warnungsfenster bei Maus über Präsentation", state_), settings.warnungmaus);
  fitText_ = SettingCheckBox(Tr("Liedtext an Beamer anpassen", state_), settings.beamertextanpassen);
  scrollweite_ = NumberField(settings.scrollweite);
  auto* scrollRow = new QHBoxLayout;
  scrollRow->addWidget(new QLabel(Tr("Scrollweite bei Präsentation", state_)));
  scrollRow->addWidget(scrollweite_);
  scrollRow->addWidget(new QLabel(QStringLiteral("Pixel")));
  scrollRow->addStretch(1);
  auto* miscLayout = new QVBoxLayout(misc);
  miscLayout->addWidget(updateauto_);
  miscLayout->addWidget(autoopen_);
  miscLayout->addWidget(warnungmaus_);
  miscLayout->addWidget(fitText_);
  miscLayout->addLayout(scrollRow);

  auto* folderFrame = new QGroupBox(Tr("Datenbankverzeichnis", state_));
  dataFolder_ = new QLineEdit(QDir::toNativeSeparators(QString::fromStdString(state_.dataFiles.folder.string())));
  dataFolder_->setReadOnly(true);
  auto* folderLayout = new QVBoxLayout(folderFrame);
  folderLayout->addWidget(dataFolder_);

  // Where the song-management service (and the data pool) answers; any http or https base address.
  auto* serverFrame = new QGroupBox(Tr("Serveradresse", state_));
  serverAddress_ = new QLineEdit(FromCp1252(settings.serveradresse));
  serverAddress_->setPlaceholderText(QString::fromLatin1(kDefaultServerAddress.data(), kDefaultServerAddress.size()));
  auto* serverLayout = new QVBoxLayout(serverFrame);
  serverLayout->addWidget(serverAddress_);
  // The data pool account (the server's e-mail address and password of the member).
  poolUser_ = new QLineEdit(FromCp1252(settings.pmoUsername));
  poolUser_->setObjectName(QStringLiteral("poolUser"));
  poolPassword_ = new QLineEdit(FromCp1252(settings.pmoPassword));
  poolPassword_->setObjectName(QStringLiteral("poolPassword"));
  poolPassword_->setEchoMode(QLineEdit::Password);
  auto* account = new QFormLayout;
  account->addRow(Tr("Datenpool Benutzername", state_), poolUser_);
  account->addRow(Tr("Datenpool Passwort", state_), poolPassword_);
  serverLayout->addLayout(account);

  // The program that fetches the video list's videos, with any options of its own (split at blanks).
  auto* downloaderFrame = new QGroupBox(Tr("Video-Downloader", state_));
  videoDownloader_ = new QLineEdit(FromCp1252(settings.videodownloader));
  videoDownloader_->setPlaceholderText(FromCp1252(Settings{}.videodownloader));
  auto* downloaderLayout = new QVBoxLayout(downloaderFrame);
  downloaderLayout->addWidget(videoDownloader_);

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(misc);
  layout->addWidget(folderFrame);
  layout->addWidget(serverFrame);
  layout->addWidget(downloaderFrame);
  layout->addStretch(1);
  return page;
}

void SettingsDialog::Save() {
  Settings& settings = state_.settings;
  LayoutAssignment& layouts = settings.layouts;
  layouts.vorschau = ChosenKey(vorschau_, layouts.vorschau);
  layouts.beamer = ChosenKey(beamer_, layouts.beamer);
  layouts.format = ChosenKey(format_, layouts.format);
  layouts.kopfzeile = ChosenKey(kopfzeile_, layouts.kopfzeile);
  layouts.fusszeile = ChosenKey(fusszeile_, layouts.fusszeile);
  settings.autoopen = CheckValue(autoopen_);
  settings.warnungmaus = CheckValue(warnungmaus_);
  settings.beamertextanpassen = CheckValue(fitText_);
  settings.updateauto = CheckValue(updateauto_);
  settings.akkordzeilehoehe = NumberValue(kopfzeileHeight_);
  settings.fusszeilenhoehe = NumberValue(fusszeileHeight_);
  settings.scrollweite = NumberValue(scrollweite_);
  // Blanks around a pasted address and a trailing "/" would end up inside every request's path.
  QString address = serverAddress_->text().trimmed();
  while (address.endsWith(QLatin1Char('/'))) address.chop(1);
  settings.serveradresse = address.isEmpty() ? std::string(kDefaultServerAddress) : ToCp1252(address);
  settings.pmoUsername = ToCp1252(poolUser_->text().trimmed());
  settings.pmoPassword = ToCp1252(poolPassword_->text());
  const QString downloader = videoDownloader_->text().trimmed();
  settings.videodownloader = downloader.isEmpty() ? Settings{}.videodownloader : ToCp1252(downloader);
  // A failed write stays silent towards the user (the core reports it on stderr); the values hold for the run.
  SaveSettingsDialog(SettingsFile(), settings);
  accept();
}

void SettingsDialog::Run(AppState& state, Messages& messages, QWidget* mainWindow) {
  SettingsDialog dialog(state, mainWindow);
  if (!dialog.LayoutFolderRead()) {
    messages.Show(mainWindow, MessageIcon::Information, Tr("Fehler", state),
                  Tr("Layoutordner konnte nicht geöffnet werden!", state));
  }
  dialog.exec();
  if (mainWindow) mainWindow->activateWindow();
}

}  // namespace psalmora
