// `CollectionEditor`: the window that creates, renames and deletes the selections ("auswahl.dat") or
// the groups ("gruppierung.dat"), and its small window for a collection's name and data-pool id.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "collections/collection_file.h"
#include "collections/collections.h"

class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace psalmora {

struct AppState;
class Messages;

// The name window of "Bearbeiten": the name, for groups also the data-pool id, and "Speichern". Only
// "Speichern" accepts it; the close box leaves without saving.
class CollectionNameWindow : public QDialog {
  Q_OBJECT

 public:
  CollectionNameWindow(AppState& state, CollectionKind kind, const QString& title, const QString& name,
                       const QString& poolId, QWidget* parent);

  QLineEdit* NameField() const { return name_; }
  // Null for selections.
  QLineEdit* PoolIdField() const { return poolId_; }
  QPushButton* SaveButton() const { return save_; }

 private:
  QLineEdit* name_ = nullptr;
  QLineEdit* poolId_ = nullptr;
  QPushButton* save_ = nullptr;
};

class CollectionEditor : public QDialog {
  Q_OBJECT

 public:
  // Loads the collection file of kind and lists its records.
  CollectionEditor(AppState& state, Messages& messages, CollectionKind kind, QWidget* parent);

  // Opens the editor blocking parent (the main window) and gives the focus back when it closes.
  static void Run(AppState& state, Messages& messages, CollectionKind kind, QWidget* parent);

  QTreeWidget* List() const { return list_; }
  QToolButton* NewButton() const { return new_; }
  QToolButton* EditButton() const { return edit_; }
  QToolButton* DeleteButton() const { return delete_; }
  QPushButton* OkButton() const { return ok_; }

  // The three buttons.
  void NewCollectionEntry();
  void EditChosen();
  void DeleteChosen();

 private:
  void FillList();
  void SetRow(int row, const std::string& record);
  int ChosenRow() const;
  bool Save();
  // Before a change: the file as it is on disk now. False (after saying so) when the file cannot be read
  // or changed under the editor, whose rows are then filled again for the user to choose anew.
  bool ReadyToChange(bool rowsMatter);

  AppState& state_;
  Messages& messages_;
  CollectionKind kind_;
  QString title_;
  HeldCollectionFile file_;
  std::vector<std::string>& records_;
  QTreeWidget* list_ = nullptr;
  QToolButton* new_ = nullptr;
  QToolButton* edit_ = nullptr;
  QToolButton* delete_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace psalmora
