// Main window assembly and the song-list bookkeeping of the main window: which list is current, the
// refill of the group and selection lists, and the shortcuts of the window.
#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>

#include "app/left_column.h"
#include "app/main_menu_bar.h"
#include "app/main_status_bar.h"
#include "app/right_column.h"
#include "app/selection_column.h"
#include "app/song_context_menu.h"
#include "bible/ui/bible_page.h"
#include "collections/collection_file.h"
#include "core/record_fields.h"
#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "media/ui/media_pages.h"
#include "render/ui/presentation_toolbar.h"
#include "render/ui/preview_pane.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_rows.h"

namespace psalmora {
namespace {

// What tells a collection from the others: its name and its pool id.
std::string NameAndPoolId(std::string_view record) {
  return std::string(CollectionName(record)) + '\t' + std::string(CollectionPoolId(record));
}

// What a rename in the collection editor leaves as it was: the songs, the online id, the creation time.
std::string SongsAndOrigin(std::string_view record) {
  const std::string_view ids = RecordField(record, 2);
  const std::size_t bar = ids.find('|');
  return std::string(bar == std::string_view::npos ? std::string_view() : ids.substr(bar)) + '\t' +
         std::string(RecordField(record, 3)) + '\t' + std::string(RecordField(record, 5));
}

// Where the collection shown before is among the records read again: the same name and pool id, else
// (renamed) the same songs and origin; of several, the one nearest its old place. The editor inserts new
// collections at the top, so the old place alone may name another one. None left: the old place.
int FindShownCollection(const std::vector<std::string>& records, std::string_view shown, int oldPosition) {
  for (std::string (*key)(std::string_view) : {NameAndPoolId, SongsAndOrigin}) {
    const std::string wanted = key(shown);
    int found = -1;
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
      if (key(records[static_cast<std::size_t>(i)]) != wanted) continue;
      if (found < 0 || std::abs(i - oldPosition) < std::abs(found - oldPosition)) found = i;
    }
    if (found >= 0) return found;
  }
  return oldPosition;
}

}  // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QString::fromStdString(state_.windowTitle));
  setWindowIcon(AppIcon(IconId::Program));
  resize(1280, 800);

  menu_ = new MainMenuBar(menuBar(), state_, this);
  connect(menu_, &MainMenuBar::commandTriggered, this, &MainWindow::OnMenuCommand);
  status_ = new MainStatusBar(QString::fromStdString(state_.windowTitle), this);
  setStatusBar(status_);
  contextMenu_ = new SongContextMenu(state_, this);

  BuildColumns();
  BuildShortcuts();
  left_->Videos()->FillVideoList(state_.videoList);

  RefreshMainSongList();
  FillSelections();
  // Once at start the id column grows to show the ids beside their icons.
  GroupSongList()->resizeColumnToContents(0);
  SelectionSongList()->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildColumns() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 2, 4, 0);
  layout->setSpacing(2);

  outerSplitter_ = new QSplitter(Qt::Horizontal, central);
  outerSplitter_->setObjectName(QStringLiteral("outerSplitter"));
  outerSplitter_->setChildrenCollapsible(false);
  left_ = new LeftColumn(state_, outerSplitter_);
  innerSplitter_ = new QSplitter(Qt::Horizontal, outerSplitter_);
  innerSplitter_->setObjectName(QStringLiteral("innerSplitter"));
  innerSplitter_->setChildrenCollapsible(false);
  middle_ = new SelectionColumn(state_, innerSplitter_);
  right_ = new RightColumn(state_, innerSplitter_);
  // Extra width goes to the right column; the left and middle columns keep the widths of last time.
  // The columns' contents ask for more than the narrow default widths; an explicit minimum lets the
  // stored widths (and the user's narrow choices) stand instead of the contents' wishes.
  left_->setMinimumWidth(120);
  middle_->setMinimumWidth(100);
  outerSplitter_->setStretchFactor(0, 0);
  outerSplitter_->setStretchFactor(1, 1);
  innerSplitter_->setStretchFactor(0, 0);
  innerSplitter_->setStretchFactor(1, 1);
  leftWidth_ = std::max(state_.settings.containerlinks, 50);
  middleWidth_ = std::max(state_.settings.containermitte, 50);
  outerSplitter_->setSizes({leftWidth_, width() - leftWidth_});
  innerSplitter_->setSizes({middleWidth_, width() - leftWidth_ - middleWidth_});
  connect(outerSplitter_, &QSplitter::splitterMoved, this, [this] { RememberColumnWidths(); });
  connect(innerSplitter_, &QSplitter::splitterMoved, this, [this] { RememberColumnWidths(); });
  layout->addWidget(outerSplitter_, 1);

  presentationBar_ = new PresentationToolbar(state_, central);
  layout->addWidget(presentationBar_);
  setCentralWidget(central);

  connect(presentationBar_, &PresentationToolbar::commandTriggered, this, &MainWindow::presentationCommand);
  connect(presentationBar_, &PresentationToolbar::slideChosen, this, &MainWindow::slideChosen);
  connect(Preview(), &PreviewPane::previewRequested, this, &MainWindow::RequestPreview);

  ConnectSongList(GroupSongList(), SongListId::Group);
  ConnectSongList(SelectionSongList(), SongListId::Selection);
  ConnectSongList(SearchHitList(), SongListId::SearchHits);
  connect(GroupChooser(), &QComboBox::currentIndexChanged, this, [this](int position) {
    if (position >= 0 && position != shownGroupPosition_) RefreshMainSongList();
  });
  connect(SelectionChooser(), &QComboBox::currentIndexChanged, this, [this](int position) {
    if (position >= 0 && position != shownSelectionPosition_) FillSelections();
  });
}

void MainWindow::BuildShortcuts() {
  auto addWindowAction = [this](const QKeySequence& keys, auto handler) {
    auto* action = new QAction(this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
    return action;
  };
  addWindowAction(QKeySequence(Qt::CTRL | Qt::Key_N), [this] {
    emit newSongRequested();
    emit menuCommand(MenuCommand::NewSong);
  })->setObjectName(QStringLiteral("newSongShortcut"));
  addWindowAction(QKeySequence(Qt::Key_F1), [this] {
    emit helpRequested();
    emit menuCommand(MenuCommand::Help);
  })->setObjectName(QStringLiteral("helpShortcut"));
  // F7-F12 live on the presentation toolbar's buttons. The digits are only taken while slides are in
  // use; text fields still receive digits typed into them.
  SetSlideKeys(state_.settings.folie > 0);
}

void MainWindow::SetSlideKeys(bool on) {
  slideKeys_ = on;
  for (int slide = 1; slide <= 9; ++slide) {
    const QString name = QStringLiteral("slideShortcut%1").arg(slide);
    auto* action = findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
    if (!on) {
      delete action;
      continue;
    }
    if (action) continue;
    action = new QAction(this);
    action->setObjectName(name);
    action->setShortcut(QKeySequence(Qt::Key_0 + slide));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, slide] { emit slideChosen(slide); });
    addAction(action);
  }
}

PreviewPane* MainWindow::Preview() const {
  return right_->Preview();
}
QComboBox* MainWindow::GroupChooser() const {
  return left_->GroupChooser();
}
QComboBox* MainWindow::SelectionChooser() const {
  return middle_->SelectionChooser();
}
SongListWidget* MainWindow::GroupSongList() const {
  return left_->GroupSongList();
}
SongListWidget* MainWindow::SelectionSongList() const {
  return middle_->SelectionSongList();
}
SongListWidget* MainWindow::SearchHitList() const {
  return left_->SearchHitList();
}
SearchPage* MainWindow::Search() const {
  return left_->Search();
}

SongListId MainWindow::ShownPageList() const {
  switch (left_->Pages()->currentIndex()) {
    case LeftColumn::kGroupsPage:
      return SongListId::Group;
    case LeftColumn::kSearchPage:
      return SongListId::SearchHits;
    default:
      return SongListId::None;
  }
}

void MainWindow::SetGroupRowCount(int rows) {
  left_->SetGroupRowCount(rows);
}

void MainWindow::ShowPreviewPane() {
  right_->ShowRightPane(RightPane::Preview);
}

void MainWindow::ShowBeamerTitle(const QString& title) {
  status_->TitleLabel()->setText(title);
}

void MainWindow::ShowStatusMessage(const QString& text) {
  status_->showMessage(text, 20000);
}

void MainWindow::ShowProgress(int percent, const QString& text) {
  if (!progressShown_) {
    progressShown_ = true;
    progressWasVisible_ = status_->Progress()->isVisible();
    status_->Progress()->show();
    status_->SmallText()->show();
  }
  status_->Progress()->setValue(percent);
  status_->SmallText()->setText(text);
}

void MainWindow::EndProgress() {
  if (!progressShown_) return;
  progressShown_ = false;
  status_->Progress()->setValue(0);
  status_->Progress()->setVisible(progressWasVisible_);
  status_->SmallText()->clear();
}

SongListWidget* MainWindow::CurrentSongListWidget() const {
  switch (currentList_) {
    case SongListId::Group:
      return GroupSongList();
    case SongListId::Selection:
      return SelectionSongList();
    case SongListId::SearchHits:
      return SearchHitList();
    case SongListId::None:
      break;
  }
  return nullptr;
}

void MainWindow::SetCurrentSongList(SongListId list) {
  currentList_ = list;
  UpdateRemoveFromGroupItem();
}

void MainWindow::ConnectSongList(SongListWidget* list, SongListId id) {
  connect(list, &SongListWidget::songListUsed, this, [this, id] { SongListUsed(id); });
  connect(list, &SongListWidget::songContextMenuRequested, this,
          [this, id](const QPoint& position) { ShowSongContextMenu(id, position); });
}

void MainWindow::SongListUsed(SongListId id) {
  SetCurrentSongList(id);
  listUsed_ = true;
  ResetTranspositionForAnotherSong();
  RequestPreview();
}

void MainWindow::ResetTranspositionForAnotherSong() {
  // A transposition belongs to the song it was set for: a second click or the double click that sends
  // that song must not lose it. A mouse press reports the list used before the selection moves, so the
  // comparison is made again when the click and the preview follow.
  SongListWidget* list = CurrentSongListWidget();
  const QStringList ids = list ? list->SelectedIds() : QStringList();
  if (ids == chosenSongIds_) return;
  chosenSongIds_ = ids;
  Preview()->SetTransposeValue(0);
}

void MainWindow::ShowSongContextMenu(SongListId id, const QPoint& globalPosition) {
  SetCurrentSongList(id);
  listUsed_ = true;
  contextMenu_->exec(globalPosition);
  RequestPreview();
}

void MainWindow::RequestPreview() {
  // A click reaches the list as a press, a current-row change and a click; the preview is shown once.
  if (previewPending_) return;
  previewPending_ = true;
  QTimer::singleShot(0, this, [this] {
    previewPending_ = false;
    // Only a choice in a list is a new song; the transposition buttons ask for the preview as well.
    if (listUsed_) ResetTranspositionForAnotherSong();
    listUsed_ = false;
    emit showPreviewRequested();
  });
}

void MainWindow::UpdateRemoveFromGroupItem() {
  contextMenu_->SetRemoveFromGroupEnabled(currentList_ == SongListId::Group && GroupChooser()->currentIndex() > 0);
}

void MainWindow::RefreshMainSongList() {
  SongListWidget* list = GroupSongList();
  list->setUpdatesEnabled(false);
  const std::vector<std::string> groups = LoadCollectionFile(state_.dataFiles.gruppierung);

  QComboBox* chooser = GroupChooser();
  int position = shownGroupPosition_ < 0 ? state_.settings.haupt : chooser->currentIndex();
  // A refill of the group shown keeps that group, wherever the file has it now.
  if (shownGroupPosition_ > 0 && position == shownGroupPosition_) {
    position = 1 + FindShownCollection(groups, shownGroup_, shownGroupPosition_ - 1);
  }
  if (position < 0 || position > static_cast<int>(groups.size())) position = 0;
  {
    const QSignalBlocker blocker(chooser);
    chooser->clear();
    chooser->addItem(Tr("Gesamte Datenbank", state_));
    for (const std::string& record : groups) chooser->addItem(CollectionChooserEntry(record));
    chooser->setCurrentIndex(position);
  }
  shownGroupPosition_ = position;
  shownGroup_ = position > 0 ? groups[static_cast<std::size_t>(position - 1)] : std::string();

  const int rows = position == 0 ? ShowWholeDatabase(*list, state_.songs.SongList(), groups)
                                 : ShowCollectionSongs(*list, groups[static_cast<std::size_t>(position - 1)],
                                                       state_.songs, SharedGroupSongIds(groups));
  left_->SetGroupRowCount(rows);
  list->SortByTitle();
  list->setUpdatesEnabled(true);
  contextMenu_->RebuildGroupItems(groups);
  UpdateRemoveFromGroupItem();
}

void MainWindow::FillSelections() {
  const std::vector<std::string> selections = LoadCollectionFile(state_.dataFiles.auswahl);
  QComboBox* chooser = SelectionChooser();
  int position = shownSelectionPosition_ < 0 ? state_.settings.vor : chooser->currentIndex();
  // A refill of the selection shown keeps that selection, wherever the file has it now.
  if (shownSelectionPosition_ >= 0 && position == shownSelectionPosition_) {
    position = FindShownCollection(selections, shownSelection_, shownSelectionPosition_);
  }
  if (position < 0 || position >= static_cast<int>(selections.size())) position = 0;
  {
    const QSignalBlocker blocker(chooser);
    chooser->clear();
    for (const std::string& record : selections) chooser->addItem(CollectionChooserEntry(record));
    chooser->setCurrentIndex(selections.empty() ? -1 : position);
  }
  shownSelectionPosition_ = position;
  shownSelection_ = selections.empty() ? std::string() : selections[static_cast<std::size_t>(position)];
  if (selections.empty()) {
    SelectionSongList()->Model().Clear();
    return;
  }
  const std::vector<std::string> groups = LoadCollectionFile(state_.dataFiles.gruppierung);
  ShowCollectionSongs(*SelectionSongList(), selections[static_cast<std::size_t>(position)], state_.songs,
                      SharedGroupSongIds(groups));
}

void MainWindow::RefreshSongRows(std::string_view id, std::string_view record) {
  psalmora::RefreshSongRows({GroupSongList(), SelectionSongList(), SearchHitList()}, id, record);
}

void MainWindow::RebuildMenuBar() {
  menu_->Rebuild();
}

void MainWindow::OnMenuCommand(MenuCommand command) {
  emit menuCommand(command);
  switch (command) {
    case MenuCommand::SettingsGeneral:
      emit settingsRequested();
      break;
    case MenuCommand::Languages:
      emit languagesRequested();
      break;
    case MenuCommand::About:
      emit aboutRequested();
      break;
    case MenuCommand::NewSong:
      emit newSongRequested();
      break;
    case MenuCommand::Help:
      emit helpRequested();
      break;
    case MenuCommand::Quit:
      close();
      break;
    default:
      break;
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  RememberColumnWidths();
  event->accept();
  emit quitRequested();
}

void MainWindow::RememberColumnWidths() {
  // Only a laid-out splitter reports real widths; before that the remembered values stand.
  if (!outerSplitter_->isVisible()) return;
  const QList<int> outer = outerSplitter_->sizes();
  const QList<int> inner = innerSplitter_->sizes();
  if (!outer.isEmpty() && outer[0] > 0) leftWidth_ = outer[0];
  if (!inner.isEmpty() && inner[0] > 0) middleWidth_ = inner[0];
}

int MainWindow::GroupChooserPosition() const {
  return std::max(GroupChooser()->currentIndex(), 0);
}
int MainWindow::SelectionChooserPosition() const {
  return std::max(SelectionChooser()->currentIndex(), 0);
}
int MainWindow::BibleChooserPosition() const {
  return std::max(left_->Bible()->TranslationChooser()->currentIndex(), 0);
}
bool MainWindow::UseSlidesChecked() const {
  return presentationBar_->UseSlidesBox()->isChecked();
}

int MainWindow::LeftColumnWidth() const {
  if (outerSplitter_->isVisible()) {
    const QList<int> sizes = outerSplitter_->sizes();
    if (!sizes.isEmpty() && sizes[0] > 0) return sizes[0];
  }
  return leftWidth_;
}

int MainWindow::MiddleColumnWidth() const {
  if (innerSplitter_->isVisible()) {
    const QList<int> sizes = innerSplitter_->sizes();
    if (!sizes.isEmpty() && sizes[0] > 0) return sizes[0];
  }
  return middleWidth_;
}

FileTypes MainWindow::FileTypeFieldTexts() const {
  return left_->Files()->FieldTexts();
}

void MainWindow::StoreRunValues(Settings& settings, FileTypes& fileTypes) const {
  settings.haupt = GroupChooserPosition();
  settings.vor = SelectionChooserPosition();
  settings.bibel = BibleChooserPosition();
  settings.folie = UseSlidesChecked() ? 1 : 0;
  settings.containerlinks = LeftColumnWidth();
  settings.containermitte = MiddleColumnWidth();
  fileTypes = FileTypeFieldTexts();
}

}  // namespace psalmora
