// Left column: the page panel with the groups page built here, the search, Bible, video and file
// pages from their rooms, and the song toolbar under the panel.
#include "app/left_column.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "bible/ui/bible_page.h"
#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "media/ui/media_pages.h"
#include "songdb/ui/search_page.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {

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
  search_ = new SearchPage(state, pages_);
  pages_->addTab(search_, AppIcon(IconId::TabSearch), QString());
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

SongListWidget* LeftColumn::SearchHitList() const {
  return search_->SearchHitList();
}

void LeftColumn::SetGroupRowCount(int rows) {
  pages_->setTabText(kGroupsPage, QStringLiteral("(") + QString::number(rows) + QStringLiteral(")"));
}

}  // namespace psalmora
