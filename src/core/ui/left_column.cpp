// Left column: the page panel with the groups and search pages built here, the Bible, video and file
// pages from their own files, and the song toolbar under the panel.
#include "core/ui/left_column.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/bible_page.h"
#include "core/ui/media_pages.h"
#include "core/ui/ui_text.h"
#include "songdb/schema.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {
namespace {

// Return in the search scope drop-down starts the search, as it does in the search field.
class EnterFilter : public QObject {
 public:
  EnterFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), onEnter_(std::move(onEnter)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        onEnter_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onEnter_;
};

}  // namespace

void FillFieldChooser(QComboBox& chooser) {
  chooser.clear();
  for (const std::string& row : SongSchema()) chooser.addItem(FromCp1252(SchemaLabel(row)));
  chooser.addItem(QStringLiteral("Liedtext"));
  chooser.setCurrentIndex(2);
}

LeftColumn::LeftColumn(AppState& state, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("leftColumn"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("leftPages"));
  pages_->setDocumentMode(true);
  // Five tabs and the song count must fit the narrow default column without scroll arrows.
  pages_->setIconSize(QSize(18, 18));
  pages_->tabBar()->setExpanding(false);
  bible_ = new BiblePage(state, pages_);
  videos_ = new VideoPage(state, pages_);
  files_ = new FilePage(state, pages_);
  // Icon-only tabs; the groups tab later shows the song count. Tooltips name the pages.
  pages_->addTab(BuildGroupsPage(state), AppIcon(IconId::TabGroups), QString());
  pages_->addTab(BuildSearchPage(state), AppIcon(IconId::TabSearch), QString());
  pages_->addTab(bible_, AppIcon(IconId::TabBible), QString());
  pages_->addTab(videos_, AppIcon(IconId::TabVideos), QString());
  pages_->addTab(files_, AppIcon(IconId::TabFiles), QString());
  pages_->setTabToolTip(kGroupsPage, Tr("Gruppierung", state));
  pages_->setTabToolTip(kSearchPage, Tr("Suche", state));
  pages_->setTabToolTip(kBiblePage, Tr("Bibel", state));
  pages_->setTabToolTip(kVideoPage, Tr("Videos", state));
  pages_->setTabToolTip(kFilePage, Tr("Dateien", state));
  layout->addWidget(pages_, 1);
  layout->addWidget(BuildSongToolbar(state));
}

QWidget* LeftColumn::BuildGroupsPage(AppState& state) {
  auto* page = new QWidget(pages_);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* chooserRow = new QHBoxLayout;
  groupChooser_ = new QComboBox(page);
  groupChooser_->setObjectName(QStringLiteral("GroupChooser"));
  groupChooser_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  groupChooser_->setMinimumContentsLength(8);
  editGroups_ = IconButton(AppIcon(IconId::EditList), Tr("Gruppierung bearbeiten", state), page);
  chooserRow->addWidget(groupChooser_, 1);
  chooserRow->addWidget(editGroups_);
  layout->addLayout(chooserRow);

  groupSongs_ = new SongListWidget(3, page);
  groupSongs_->setObjectName(QStringLiteral("GroupSongList"));
  // The id column has no heading; "Titel" and "Erstellt am" are translated.
  groupSongs_->SetColumns({QString(), Tr("Titel", state), Tr("Erstellt am", state)}, {20, 200, 80});
  groupSongs_->SetTypeAheadEnabled(true);
  groupSongs_->SetHeaderSorting(true);
  layout->addWidget(groupSongs_, 1);
  return page;
}

QWidget* LeftColumn::BuildSearchPage(AppState& state) {
  auto* page = new QWidget(pages_);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* form = new QGridLayout;
  searchField_ = new QLineEdit(page);
  searchField_->setObjectName(QStringLiteral("searchField"));
  searchField_->setClearButtonEnabled(true);
  searchScope_ = new QComboBox(page);
  searchScope_->setObjectName(QStringLiteral("searchScope"));
  FillFieldChooser(*searchScope_);
  searchButton_ = IconButton(AppIcon(IconId::SearchStart), Tr("Suche starten", state), page);
  form->addWidget(new QLabel(Tr("Suchtext:", state), page), 0, 0);
  form->addWidget(searchField_, 0, 1);
  form->addWidget(searchButton_, 0, 2, 2, 1, Qt::AlignVCenter);
  form->addWidget(new QLabel(Tr("suchen in:", state), page), 1, 0);
  form->addWidget(searchScope_, 1, 1);
  form->setColumnStretch(1, 1);
  layout->addLayout(form);
  searchStatus_ = new QLabel(Tr("Suchergebniss:", state), page);
  searchStatus_->setObjectName(QStringLiteral("searchStatus"));
  layout->addWidget(searchStatus_);

  searchHits_ = new SongListWidget(2, page);
  searchHits_->setObjectName(QStringLiteral("SearchHitList"));
  // The id column is present but has no visible width; "ID" is not translated.
  searchHits_->SetColumns({QStringLiteral("ID"), Tr("Titel", state)}, {0, 200});
  layout->addWidget(searchHits_, 1);

  connect(searchButton_, &QToolButton::clicked, this, [this] { emit searchRequested(); });
  connect(searchField_, &QLineEdit::returnPressed, this, [this] { emit searchRequested(); });
  searchScope_->installEventFilter(new EnterFilter(searchScope_, [this] { emit searchRequested(); }));
  return page;
}

QToolBar* LeftColumn::BuildSongToolbar(AppState& state) {
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("songToolbar"));
  bar->setIconSize(QSize(20, 20));
  const struct {
    IconId icon;
    QString tooltip;
    SongToolbarCommand command;
  } items[] = {
      {IconId::SelectionAdd, Tr("Lied in Auswahl", state), SongToolbarCommand::AddToSelection},
      {IconId::MoveUp, Tr("Lied hochschieben", state), SongToolbarCommand::MoveUp},
      {IconId::MoveDown, Tr("Lied runterschieben", state), SongToolbarCommand::MoveDown},
      {IconId::SelectionRemove, Tr("Lied aus Auswahl entfernen", state), SongToolbarCommand::RemoveFromSelection},
  };
  for (const auto& item : items) {
    QAction* action = bar->addAction(AppIcon(item.icon), item.tooltip);
    const SongToolbarCommand command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { emit songToolbarCommand(command); });
    songToolbar_[static_cast<std::size_t>(command)] = action;
  }
  return bar;
}

void LeftColumn::SetGroupRowCount(int rows) {
  pages_->setTabText(kGroupsPage, QStringLiteral("(") + QString::number(rows) + QStringLiteral(")"));
}

}  // namespace psalmora
