// Video and file page widgets. Playing, downloading and converting media is handled elsewhere; these
// pages only hold the controls and their data.
#include "media/ui/media_pages.h"

#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/record_fields.h"
#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"

namespace psalmora {
VideoPage::VideoPage(AppState& state, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  auto* dataBox = new QGroupBox(Tr("Youtube Videodaten", state), this);
  auto* form = new QFormLayout(dataBox);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  url_ = new QLineEdit(dataBox);
  url_->setPlaceholderText(QStringLiteral("https://"));
  title_ = new QLineEdit(dataBox);
  artist_ = new QLineEdit(dataBox);
  form->addRow(url_);
  form->addRow(Tr("Titel", state), title_);
  form->addRow(Tr("Interpret", state), artist_);

  auto* buttonRow = new QHBoxLayout;
  const struct {
    IconId icon;
    QString tooltip;
    VideoPageCommand command;
  } buttons[] = {
      {IconId::VideoSite, Tr("open youtube", state), VideoPageCommand::OpenVideoSite},
      {IconId::Swap, Tr("Titel und Interpret tauschen", state), VideoPageCommand::SwapTitleAndArtist},
      {IconId::ListSave, Tr("Video in Liste speichern", state), VideoPageCommand::SaveVideoToList},
      {IconId::Download, Tr("gewähltes Video downloadn", state), VideoPageCommand::DownloadVideo},
      {IconId::VideoBeamer, Tr("Video an Beamer senden", state), VideoPageCommand::SendVideoToBeamer},
  };
  for (const auto& spec : buttons) {
    QToolButton* button = IconButton(AppIcon(spec.icon), spec.tooltip, dataBox);
    const VideoPageCommand command = spec.command;
    connect(button, &QToolButton::clicked, this, [this, command] { emit commandTriggered(command); });
    buttons_[static_cast<std::size_t>(command)] = button;
    buttonRow->addWidget(button);
  }
  buttonRow->addStretch(1);
  form->addRow(buttonRow);
  layout->addWidget(dataBox);

  auto* listBox = new QGroupBox(Tr("Videoliste", state), this);
  auto* listLayout = new QVBoxLayout(listBox);
  videoList_ = new QTreeWidget(listBox);
  videoList_->setObjectName(QStringLiteral("videoList"));
  videoList_->setRootIsDecorated(false);
  videoList_->setAlternatingRowColors(true);
  videoList_->setHeaderLabels({Tr("ID", state), Tr("Titel", state), Tr("Interpret", state)});
  videoList_->setColumnWidth(0, 40);
  videoList_->setColumnWidth(1, 140);
  listLayout->addWidget(videoList_);
  layout->addWidget(listBox, 1);
}

void VideoPage::FillVideoList(const std::vector<std::string>& lines) {
  videoList_->clear();
  QList<QTreeWidgetItem*> rows;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    rows.push_back(new QTreeWidgetItem(QStringList{FromCp1252(RecordField(line, 1)), FromCp1252(RecordField(line, 5)),
                                                   FromCp1252(RecordField(line, 4))}));
  }
  videoList_->addTopLevelItems(rows);
}

FilePage::FilePage(AppState& state, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  files_ = new QFileSystemModel(this);
  files_->setFilter(QDir::AllEntries | QDir::NoDot | QDir::AllDirs);
  files_->setNameFilters({QStringLiteral("*.*")});
  files_->setNameFilterDisables(false);
  browser_ = new QListView(this);
  browser_->setObjectName(QStringLiteral("fileBrowser"));
  browser_->setModel(files_);
  browser_->setUniformItemSizes(true);
  // A double click on a folder (or "..") opens it, as in a file explorer list.
  connect(browser_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    if (files_->isDir(index)) ShowFolder(QDir::cleanPath(files_->filePath(index)));
  });
  ShowFolder(QDir::homePath());
  layout->addWidget(browser_, 1);

  refresh_ = new QToolButton(this);
  refresh_->setIcon(AppIcon(IconId::Refresh));
  refresh_->setText(Tr("Verzeichniss aktualisieren", state));
  refresh_->setToolTip(refresh_->text());
  refresh_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  refresh_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  connect(refresh_, &QToolButton::clicked, this, [this] { RefreshFolder(); });
  layout->addWidget(refresh_);

  auto* types = new QGroupBox(Tr("Dateizuordnung", state), this);
  auto* form = new QFormLayout(types);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  film_ = new QLineEdit(FromCp1252(state.fileTypes.film), types);
  music_ = new QLineEdit(FromCp1252(state.fileTypes.music), types);
  ppt_ = new QLineEdit(FromCp1252(state.fileTypes.ppt), types);
  bild_ = new QLineEdit(FromCp1252(state.fileTypes.bild), types);
  form->addRow(Tr("Filme", state), film_);
  form->addRow(Tr("Musik", state), music_);
  form->addRow(Tr("Präsentationen", state), ppt_);
  form->addRow(Tr("Bilder", state), bild_);
  layout->addWidget(types);
}

void FilePage::ShowFolder(const QString& path) {
  browser_->setRootIndex(files_->setRootPath(path));
}

QString FilePage::CurrentFolder() const {
  return files_->rootPath();
}

void FilePage::RefreshFolder() {
  // Dropping the root path makes the model forget its cache, so the folder is read again.
  const QString folder = CurrentFolder();
  files_->setRootPath(QString());
  files_->setNameFilters({QStringLiteral("*.*")});
  ShowFolder(folder);
}

FileTypes FilePage::FieldTexts() const {
  FileTypes types;
  types.film = ToCp1252(film_->text());
  types.music = ToCp1252(music_->text());
  types.ppt = ToCp1252(ppt_->text());
  types.bild = ToCp1252(bild_->text());
  return types;
}

}  // namespace psalmora
