// The trash window ("Papierkorb"): lists the songs in the trash, restores the chosen ones and empties
// the trash for good, each after its question or message.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "songdb/trash.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace psalmora {

struct AppState;
class Messages;

class TrashWindow : public QDialog {
  Q_OBJECT

 public:
  TrashWindow(AppState& state, Messages& messages, QWidget* parent);

  QTreeWidget* List() const { return list_; }
  QLabel* CountLabel() const { return count_; }
  QPushButton* RestoreButton() const { return restore_; }
  QPushButton* EmptyButton() const { return empty_; }
  QPushButton* CancelButton() const { return cancel_; }

  // `OpenTrash`: the songs of the trash in song list order, and their count.
  void FillList();
  // `RestoreChosen` and `EmptyTrash`.
  void RestoreChosen();
  void EmptyTrashNow();

 signals:
  // Songs left the trash: the main window puts them at the top of its group list.
  void songsRestored(const std::vector<psalmora::TrashEntry>& restored);

 private:
  void ShowCount();

  AppState& state_;
  Messages& messages_;
  QTreeWidget* list_ = nullptr;
  QLabel* count_ = nullptr;
  QPushButton* restore_ = nullptr;
  QPushButton* empty_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace psalmora
