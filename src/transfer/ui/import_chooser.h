// `ImportChooser`: the window "Import..." that lists the titles read from an export file and lets the
// user pick the songs to import. It only shows rows; the import itself is the controller's.
#pragma once

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace psalmora {

class ImportChooser : public QDialog {
  Q_OBJECT

 public:
  // Blocks parent (the main window) while it is open and deletes itself when closed.
  explicit ImportChooser(QWidget* parent);

  // Appends a row with the title and shows the new count.
  void AddTitle(const QString& title);
  int Count() const { return count_; }

  // Rows that are selected, in list order, whatever order they were selected in.
  std::vector<int> SelectedRows() const;
  bool HasCurrentRow() const;

  QTreeWidget* List() const { return list_; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* CancelButton() const { return cancel_; }

 signals:
  // "Auswahl importieren >>".
  void importRequested();

 private:
  QTreeWidget* list_ = nullptr;
  QLabel* counter_ = nullptr;
  QPushButton* import_ = nullptr;
  QPushButton* cancel_ = nullptr;
  int count_ = 0;
};

}  // namespace psalmora
