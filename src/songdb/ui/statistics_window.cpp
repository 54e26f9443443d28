// The window's captions are the fixed German texts the statistics always had; only the report button
// and the messages go through the language table.
#include "songdb/ui/statistics_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"

namespace psalmora {
namespace {

constexpr int kIdColumn = 0;
constexpr int kCountColumn = 2;

const QString kAll = QStringLiteral("Alle");

// "ID" and "Anzahl" compare as numbers, "Titel" as text.
class StatisticsItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;

  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (column == kIdColumn || column == kCountColumn) {
      const qlonglong mine = text(column).toLongLong();
      const qlonglong theirs = other.text(column).toLongLong();
      if (mine != theirs) return mine < theirs;
      return text(column) < other.text(column);
    }
    return QString::localeAwareCompare(text(column), other.text(column)) < 0;
  }
};

}  // namespace

StatisticsWindow::StatisticsWindow(AppState& state, Messages& messages, CommonDialogs& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), messages_(messages), dialogs_(dialogs) {
  setObjectName(QStringLiteral("statisticsWindow"));
  setWindowTitle(QStringLiteral("Statistik Präsentation"));
  if (parent) setWindowModality(Qt::WindowModal);
  resize(545, 335);

  years_ = new QComboBox;
  years_->setMinimumWidth(115);
  list_ = new QTreeWidget;
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("Titel"), QStringLiteral("Anzahl")});
  list_->setColumnWidth(0, 50);
  list_->setColumnWidth(1, 250);
  list_->setColumnWidth(2, 50);
  // Sorting stays off (turning it on would sort at once) so the rows keep the counted order until a
  // header is clicked; the clicks sort by hand.
  list_->header()->setSectionsClickable(true);
  list_->setUniformRowHeights(true);
  reportButton_ = new QPushButton(Tr("Bericht speichern…", state_));
  cancelButton_ = new QPushButton(QStringLiteral("Abbrechen"));

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Statistik für Jahr:")));
  top->addWidget(years_);
  top->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(reportButton_);
  bottom->addStretch(1);
  bottom->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(5, 5, 5, 5);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addLayout(bottom);

  const StatisticsFile file = ReadStatisticsLines(state_.dataFiles.statistik);
  if (!file.error.empty()) {
    messages_.Show(this, MessageIcon::Warning, Tr("Fehler", state_),
                   Tr("Die Datei konnte nicht gelesen werden und bleibt unverändert:", state_) + QStringLiteral("\n") +
                       QString::fromStdString(state_.dataFiles.statistik.string()));
  }
  lines_ = file.lines;
  years_->addItem(kAll);
  for (const std::string& year : StatisticsYears(lines_)) years_->addItem(QString::fromStdString(year));
  years_->setCurrentIndex(0);
  FilterStatistics(kAll);

  connect(years_, &QComboBox::currentTextChanged, this, &StatisticsWindow::FilterStatistics);
  connect(list_->header(), &QHeaderView::sectionClicked, this, &StatisticsWindow::SortByColumn);
  connect(reportButton_, &QPushButton::clicked, this, &StatisticsWindow::SaveReport);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void StatisticsWindow::FilterStatistics(const QString& year) {
  std::optional<std::string> only;
  if (year != kAll) only = year.toStdString();
  shown_ = psalmora::FilterStatistics(lines_, only, state_.songs);
  list_->setUpdatesEnabled(false);
  list_->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(shown_.size()));
  for (const StatisticsRow& row : shown_) {
    items << new StatisticsItem(QStringList{FromCp1252(row.id), FromCp1252(row.title), QString::number(row.count)});
  }
  list_->addTopLevelItems(items);
  list_->header()->setSortIndicatorShown(false);
  sortColumn_ = -1;
  list_->setUpdatesEnabled(true);
}

void StatisticsWindow::SortByColumn(int column) {
  sortOrder_ = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
  sortColumn_ = column;
  list_->sortItems(column, sortOrder_);
  list_->header()->setSortIndicatorShown(true);
  list_->header()->setSortIndicator(column, sortOrder_);
}

void StatisticsWindow::SaveReport() {
  const QString year = years_->currentText();
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString proposal = QDir(documents).filePath(
      (year == kAll ? QStringLiteral("Lizenzbericht") : QStringLiteral("Lizenzbericht %1").arg(year)) +
      QStringLiteral(".csv"));
  QString file = dialogs_.SaveFile(this, Tr("Bericht speichern…", state_), proposal, QStringLiteral("CSV (*.csv)"));
  if (file.isEmpty()) return;
  if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".csv");
  const WriteResult written = SaveLicenceReport(file.toStdString(), shown_);
  if (!written) {
    messages_.Show(this, MessageIcon::Error, Tr("Fehler", state_),
                   Tr("Der Bericht konnte nicht gespeichert werden:", state_) + QStringLiteral("\n") +
                       QDir::toNativeSeparators(file) + QStringLiteral("\n") + QString::fromStdString(written.error));
  }
}

}  // namespace psalmora
