// Middle column widgets.
#include "app/selection_column.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {

SelectionColumn::SelectionColumn(AppState& state, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("middleColumn"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 4, 0, 0);
  auto* chooserRow = new QHBoxLayout;
  chooser_ = new QComboBox(this);
  chooser_->setObjectName(QStringLiteral("SelectionChooser"));
  chooser_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  chooser_->setMinimumContentsLength(8);
  edit_ = IconButton(AppIcon(IconId::EditList), Tr("Auswahlliste bearbeiten", state), this);
  chooserRow->addWidget(chooser_, 1);
  chooserRow->addWidget(edit_);
  layout->addLayout(chooserRow);

  songs_ = new SongListWidget(2, this);
  songs_->setObjectName(QStringLiteral("SelectionSongList"));
  songs_->SetColumns({QString(), Tr("Auswahl", state)}, {20, 230});
  // The set list's order is the order of the service: numbered, and rearranged by dragging.
  songs_->Model().SetNumbered(true);
  songs_->SetReorderByDrag(true);
  layout->addWidget(songs_, 1);
}

}  // namespace psalmora
