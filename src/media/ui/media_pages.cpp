// Video and file page widgets. Playing, downloading and converting media is handled elsewhere; these
// pages only hold the controls and their data.
#include "media/ui/media_pages.h"

#include <QDir>
#include <QKeyEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPainter>
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
#include "media/video_list.h"

namespace psalmora {
namespace {

// Row icons of the video list: a filled dot in the colour of the state (the busy one a ring).
QIcon StateIcon(const QString& state) {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QColor colour(150, 150, 150);  // not downloaded
  if (state == QLatin1String("downloaded")) colour = QColor(40, 160, 60);
  if (state == QLatin1String("failed")) colour = QColor(200, 40, 40);
  if (state == QLatin1String("busy")) {
    painter.setPen(QPen(QColor(230, 140, 0), 3));
    painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    painter.drawLine(QPointF(8, 8), QPointF(8, 4));
    return QIcon(picture);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(QRectF(2, 2, 12, 12));
  return QIcon(picture);
}

}  // namespace

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
  videoList_->setColumnWidth(0, 60);
  videoList_->setColumnWidth(1, 140);
  videoList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  videoList_->setContextMenuPolicy(Qt::CustomContextMenu);
  videoList_->installEventFilter(this);
  connect(videoList_, &QTreeWidget::itemClicked, this, [this] { emit videoChosen(false); });
  connect(videoList_, &QTreeWidget::itemDoubleClicked, this, [this] { emit videoChosen(true); });
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("videoListMenu"));
  QAction* remove = menu->addAction(Tr("entfernen", state));
  connect(remove, &QAction::triggered, this, &VideoPage::removeRequested);
  connect(videoList_, &QTreeWidget::customContextMenuRequested, this, [this, menu](const QPoint& at) {
    if (videoList_->itemAt(at)) menu->popup(videoList_->viewport()->mapToGlobal(at));
  });
  listLayout->addWidget(videoList_);
  layout->addWidget(listBox, 1);
}

void VideoPage::FillVideoList(const std::vector<std::string>& lines, const DataFiles* files) {
  if (files) files_ = files;
  files = files_;
  videoList_->clear();
  QList<QTreeWidgetItem*> rows;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    auto* row = new QTreeWidgetItem(QStringList{FromCp1252(RecordField(line, 1)), FromCp1252(RecordField(line, 5)),
                                                FromCp1252(RecordField(line, 4))});
    if (files) {
      const QString state = QString::fromLatin1(VideoStateName(VideoEntryState(*files, line)).data());
      row->setIcon(0, StateIcon(state));
      row->setData(0, Qt::UserRole, state);
    }
    rows.push_back(row);
  }
  videoList_->addTopLevelItems(rows);
}

QTreeWidgetItem* VideoPage::SetRowState(const QString& id, const QString& state) {
  for (int row = 0; row < videoList_->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = videoList_->topLevelItem(row);
    if (item->text(0) != id) continue;
    item->setIcon(0, StateIcon(state));
    item->setData(0, Qt::UserRole, state);
    return item;
  }
  return nullptr;
}

QStringList VideoPage::ChosenIds() const {
  QStringList ids;
  for (int row = 0; row < videoList_->topLevelItemCount(); ++row) {
    if (videoList_->topLevelItem(row)->isSelected()) ids << videoList_->topLevelItem(row)->text(0);
  }
  return ids;
}

bool VideoPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == videoList_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && videoList_->currentItem()) {
      emit videoChosen(true);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
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
  connect(browser_, &QListView::clicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && !files_->isDir(index)) emit fileChosen(files_->filePath(index), false);
  });
  browser_->installEventFilter(this);
  connect(browser_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
    if (index.isValid() && !files_->isDir(index)) emit fileSelected(files_->filePath(index));
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

QString FilePage::ChosenFile() const {
  const QModelIndex index = browser_->currentIndex();
  if (!index.isValid() || files_->isDir(index)) return {};
  return files_->filePath(index);
}

bool FilePage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == browser_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      const QModelIndex index = browser_->currentIndex();
      if (index.isValid() && files_->isDir(index)) {
        ShowFolder(QDir::cleanPath(files_->filePath(index)));
      } else if (!ChosenFile().isEmpty()) {
        emit fileChosen(ChosenFile(), true);
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
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
