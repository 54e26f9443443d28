// A song list of the main window (`GroupSongList`, `SelectionSongList`, `SearchHitList`): a multi-select
// list whose first column holds the song id, fed with song-store record lines.
#pragma once

#include <QStringList>

class QMimeData;
#include <QTreeView>
#include <string_view>
#include <vector>

#include "songdb/ui/song_list_model.h"

namespace psalmora {

class SongListWidget : public QTreeView {
  Q_OBJECT

 public:
  // columnCount 3: id, title, creation date (the group list); 2: id, title.
  SongListWidget(int columnCount, QWidget* parent = nullptr);

  // Scrolls rows into view without moving the columns sideways: in the narrow column a click on a title
  // would otherwise shift the ids and icons out of sight.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  SongListModel& Model() { return model_; }
  const SongListModel& Model() const { return model_; }

  // Header texts and pixel widths of the columns, in column order.
  void SetColumns(const QStringList& headers, const std::vector<int>& widths);

  // Appends the row of a record line (id, title, date part of "Erstellt am"); songs in the trash are
  // skipped. shared picks the shared-group icon.
  void AddSongRow(std::string_view record, bool shared);

  int RowCount() const { return model_.RowCount(); }
  // Ids of the selected rows, top to bottom.
  QStringList SelectedIds() const;
  void SelectRow(int row);
  // Sorts by the title column, ascending, and shows that in the header.
  void SortByTitle();

  // Type-ahead: a number > 0 selects the row of that number (counted from 1); otherwise the first row
  // whose title starts with the text's first letter (compared in lower case) becomes the only selected
  // row and scrolls to the top of the view. No such row: the selection stays as it was.
  void TypeAheadSelect(const QString& text);
  // Letters A-Z typed into the list go to TypeAheadSelect instead of Qt's own keyboard search.
  void SetTypeAheadEnabled(bool enabled) { typeAhead_ = enabled; }
  // A header click sorts by that column (a second click reverses). Off for lists whose order matters.
  void SetHeaderSorting(bool enabled);
  // The set list: rows are reordered by dragging them within the list (rowsDragged), never dropped into
  // another list or another program.
  void SetReorderByDrag(bool enabled);
  // What a drag of this list carries: the row taken and this list, so a drop elsewhere is refused.
  QMimeData* ReorderMimeData(int row) const;
  // The move a drop of a row dragged from dragRow makes when it lands at position in the viewport: the
  // rows go before the row under the upper half of a row, after it under the lower half, to the end
  // below the last row. Negative: up.
  int DropSteps(int dragRow, const QPoint& position) const;

 signals:
  // The user chose a row (click, keyboard move, selection change): the list becomes `CurrentSongList`.
  void songListUsed();
  void songDoubleClicked();
  void spacePressed();
  void enterPressed();
  void songContextMenuRequested(const QPoint& globalPosition);
  // Rows were dragged: the chosen rows are to move by that many places (negative: up), as that many
  // presses of the move buttons would.
  void rowsDragged(int steps);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  SongListModel model_;
  bool typeAhead_ = false;
  bool headerSorting_ = false;
  bool reorderByDrag_ = false;
  // The row a drop carries, or -1 when the drag is not a reorder of this list.
  int DraggedRow(const QMimeData* carried) const;
};

// The row a record line shows, or nothing for a song in the trash.
bool SongRowFromRecord(std::string_view record, bool shared, SongRow& row);

}  // namespace psalmora
