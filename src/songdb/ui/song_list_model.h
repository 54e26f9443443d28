// Rows of a song list (id, title, creation date) as a Qt item model, with the sort orders of the song
// lists: the id as a whole number, the creation date as a calendar date, the title by German collation.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <vector>

namespace psalmora {

struct SongRow {
  QString id;
  QString title;
  QString created;      // "dd.mm.yyyy", the date part of "Erstellt am"
  bool shared = false;  // member of a group with a data-pool id
};

class SongListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kIdColumn = 0, kTitleColumn = 1, kCreatedColumn = 2 };

  // columnCount is 2 (id, title) or 3 (id, title, creation date).
  SongListModel(int columnCount, QObject* parent = nullptr);

  void SetHeaderTexts(const QStringList& texts);
  void SetRowIcons(const QIcon& plain, const QIcon& shared);
  // A list whose order matters (the set list) shows each title after its place: "3. Title".
  void SetNumbered(bool numbered) { numbered_ = numbered; }
  // Rows can be picked up and dragged (the list itself decides where they may go).
  void SetDraggable(bool draggable) { draggable_ = draggable; }

  // Replaces every row at once (one model reset, so a whole-database fill stays fast).
  void SetRows(std::vector<SongRow> rows);
  void AppendRow(SongRow row);
  void InsertRowAtTop(SongRow row);
  void RemoveRowAt(int row);
  void SetTitleAt(int row, const QString& title);
  void Clear() { SetRows({}); }

  const SongRow& RowAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  int RowCount() const { return static_cast<int>(rows_.size()); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  std::vector<int> SortedOrder(int column, Qt::SortOrder order) const;

  int columnCount_;
  QStringList headers_;
  QIcon plainIcon_, sharedIcon_;
  std::vector<SongRow> rows_;
  bool numbered_ = false;
  bool draggable_ = false;
};

// "dd.mm.yyyy" as yyyymmdd for comparing; 0 when the text is not such a date.
int DateSortKey(const QString& date);

}  // namespace psalmora
