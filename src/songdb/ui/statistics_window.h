// "Statistik Präsentation": how often each song was presented, for all years or one, from
// "statistik.dat"; the list sorts by a clicked column, and "Bericht speichern…" writes the licence
// report of the year shown.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "songdb/statistics.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;

class StatisticsWindow : public QDialog {
  Q_OBJECT

 public:
  // Reads the file and shows "Alle". Blocks its parent window while open.
  StatisticsWindow(AppState& state, Messages& messages, CommonDialogs& dialogs, QWidget* parent = nullptr);

  // `FilterStatistics`: the list for a year text, or for "Alle".
  void FilterStatistics(const QString& year);
  // The report of the rows shown now, into the file chosen (the chooser starts in the documents folder).
  void SaveReport();

  QComboBox* YearChooser() const { return years_; }
  QTreeWidget* List() const { return list_; }
  QPushButton* ReportButton() const { return reportButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 private:
  void SortByColumn(int column);

  AppState& state_;
  Messages& messages_;
  CommonDialogs& dialogs_;
  std::vector<std::string> lines_;    // `StatisticsLines`
  std::vector<StatisticsRow> shown_;  // the rows of the year chosen, in the order they were counted
  QComboBox* years_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QPushButton* reportButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  int sortColumn_ = -1;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace psalmora
