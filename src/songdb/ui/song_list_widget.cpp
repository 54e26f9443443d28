// Song list view: columns, selection, keyboard handling and the type-ahead of the group list.
#include "songdb/ui/song_list_widget.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

#include "core/record_fields.h"
#include "core/ui/app_icons.h"
#include "core/ui/ui_text.h"
#include "songdb/song_store.h"

namespace psalmora {

bool SongRowFromRecord(std::string_view record, bool shared, SongRow& row) {
  if (IsDeletedRecord(record)) return false;
  const std::string_view created = RecordField(record, 2);
  row.id = FromCp1252(RecordField(record, 1));
  row.title = FromCp1252(RecordField(record, 3));
  row.created = FromCp1252(created.substr(0, created.find('-')));
  row.shared = shared;
  return true;
}

SongListWidget::SongListWidget(int columnCount, QWidget* parent) : QTreeView(parent), model_(columnCount) {
  model_.SetRowIcons(AppIcon(IconId::Song), AppIcon(IconId::SongShared));
  setModel(&model_);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAlternatingRowColors(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAllColumnsShowFocus(true);
  setIconSize(QSize(16, 16));
  header()->setStretchLastSection(true);
  header()->setSectionsMovable(false);
  header()->setSortIndicatorShown(false);

  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { emit songListUsed(); });
  connect(this, &QAbstractItemView::clicked, this, [this] { emit songListUsed(); });
  connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit songDoubleClicked(); });
  // The model sorts itself; the view only reports which header was clicked.
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (headerSorting_) model_.sort(column, header()->sortIndicatorOrder());
  });
}

void SongListWidget::SetHeaderSorting(bool enabled) {
  headerSorting_ = enabled;
  header()->setSectionsClickable(enabled);
  header()->setSortIndicatorShown(enabled);
}

void SongListWidget::SetColumns(const QStringList& headers, const std::vector<int>& widths) {
  model_.SetHeaderTexts(headers);
  for (std::size_t column = 0; column < widths.size(); ++column) {
    const int width = widths[column];
    if (width <= 0) {
      setColumnHidden(static_cast<int>(column), true);
    } else {
      setColumnWidth(static_cast<int>(column), width);
    }
  }
}

void SongListWidget::AddSongRow(std::string_view record, bool shared) {
  SongRow row;
  if (SongRowFromRecord(record, shared, row)) model_.AppendRow(std::move(row));
}

QStringList SongListWidget::SelectedIds() const {
  QModelIndexList rows = selectionModel()->selectedRows(SongListModel::kIdColumn);
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  QStringList ids;
  for (const QModelIndex& index : rows) ids.push_back(model_.RowAt(index.row()).id);
  return ids;
}

void SongListWidget::SelectRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  const QModelIndex index = model_.index(row, SongListModel::kIdColumn);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void SongListWidget::SortByTitle() {
  header()->setSortIndicator(SongListModel::kTitleColumn, Qt::AscendingOrder);
  model_.sort(SongListModel::kTitleColumn, Qt::AscendingOrder);
}

void SongListWidget::TypeAheadSelect(const QString& text) {
  bool isNumber = false;
  const int number = text.toInt(&isNumber);
  int match = -1;
  if (isNumber && number > 0) {
    match = number - 1;
  } else if (!text.isEmpty()) {
    const QChar letter = text.at(0).toLower();
    for (int row = 0; row < RowCount(); ++row) {
      const QString& title = model_.RowAt(row).title;
      if (!title.isEmpty() && title.at(0).toLower() == letter) {
        match = row;
        break;
      }
    }
  }
  if (match < 0 || match >= RowCount()) return;
  SelectRow(match);
  scrollTo(model_.index(match, SongListModel::kIdColumn), QAbstractItemView::PositionAtTop);
}

void SongListWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
  if (plain && key == Qt::Key_Space) {
    emit spacePressed();
    return;
  }
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    emit enterPressed();
    return;
  }
  if (typeAhead_ && plain && key >= Qt::Key_A && key <= Qt::Key_Z) {
    TypeAheadSelect(QString(QChar('a' + (key - Qt::Key_A))));
    return;
  }
  QTreeView::keyPressEvent(event);
}

void SongListWidget::contextMenuEvent(QContextMenuEvent* event) {
  // The right click makes the list current even without a row; the menu itself needs a selected row.
  emit songListUsed();
  if (selectionModel()->hasSelection()) emit songContextMenuRequested(event->globalPos());
}

// --- reorder by drag ---

namespace {
constexpr char kReorderMime[] = "application/x-psalmora-song-rows";
}  // namespace

void SongListWidget::SetReorderByDrag(bool enabled) {
  reorderByDrag_ = enabled;
  model_.SetDraggable(enabled);
  setDragEnabled(enabled);
  setAcceptDrops(enabled);
  viewport()->setAcceptDrops(enabled);
  setDropIndicatorShown(enabled);
  setDragDropMode(enabled ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
}

QMimeData* SongListWidget::ReorderMimeData(int row) const {
  auto* carried = new QMimeData;
  // The process and the list name the source: a drag into another instance's list is no reorder.
  const QString source =
      QStringLiteral("%1:%2:%3").arg(QCoreApplication::applicationPid()).arg(reinterpret_cast<quintptr>(this)).arg(row);
  carried->setData(QString::fromLatin1(kReorderMime), source.toLatin1());
  return carried;
}

int SongListWidget::DraggedRow(const QMimeData* carried) const {
  if (!reorderByDrag_ || !carried || !carried->hasFormat(QString::fromLatin1(kReorderMime))) return -1;
  const QStringList parts =
      QString::fromLatin1(carried->data(QString::fromLatin1(kReorderMime))).split(QLatin1Char(':'));
  if (parts.size() != 3 || parts[0].toLongLong() != QCoreApplication::applicationPid() ||
      parts[1].toULongLong() != reinterpret_cast<quintptr>(this)) {
    return -1;
  }
  bool ok = false;
  const int row = parts[2].toInt(&ok);
  return ok && row >= 0 && row < RowCount() ? row : -1;
}

int SongListWidget::DropSteps(int dragRow, const QPoint& position) const {
  const QModelIndex index = indexAt(position);
  int before = RowCount();
  if (index.isValid()) {
    const QRect rect = visualRect(index);
    before = position.y() > rect.center().y() ? index.row() + 1 : index.row();
  }
  // Landing just above or below itself leaves the row where it is.
  return before > dragRow ? before - dragRow - 1 : before - dragRow;
}

void SongListWidget::startDrag(Qt::DropActions supportedActions) {
  if (!reorderByDrag_) return;
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(ReorderMimeData(current.row()));
  drag->exec(supportedActions & Qt::MoveAction ? Qt::MoveAction : Qt::CopyAction, Qt::MoveAction);
}

void SongListWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (DraggedRow(event->mimeData()) < 0) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void SongListWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (DraggedRow(event->mimeData()) < 0) {
    event->ignore();
    return;
  }
  // The view draws its drop indicator; the rows themselves stay until the drop.
  QTreeView::dragMoveEvent(event);
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void SongListWidget::dropEvent(QDropEvent* event) {
  const int row = DraggedRow(event->mimeData());
  if (row < 0) {
    event->ignore();
    return;
  }
  // The model is not touched here: the move goes through the same operation as the move buttons, which
  // writes the selection file. Qt's own row moving would bypass it.
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  setState(NoState);
  viewport()->update();
  const int steps = DropSteps(row, event->position().toPoint());
  if (steps != 0) emit rowsDragged(steps);
}

void SongListWidget::scrollTo(const QModelIndex& index, ScrollHint hint) {
  const int column = horizontalScrollBar()->value();
  QTreeView::scrollTo(index, hint);
  horizontalScrollBar()->setValue(column);
}

}  // namespace psalmora
