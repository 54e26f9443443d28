// The chooser's captions are fixed German texts, as the import side of the export file has always had.
#include "transfer/ui/import_chooser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace psalmora {

ImportChooser::ImportChooser(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("importChooser"));
  setWindowTitle(QStringLiteral("Import..."));
  setAttribute(Qt::WA_DeleteOnClose);
  if (parent) setWindowModality(Qt::WindowModal);
  resize(400, 430);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(0);
  layout->addWidget(new QLabel(QString::fromUtf8("Folgende Lieder konnten eingelesen werden."), this));
  layout->addWidget(new QLabel(QString::fromUtf8("Wählen Sie die Lieder aus die Sie importieren möchten!"), this));
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(QStringLiteral("Insgesamt: "), this));
  counter_ = new QLabel(QStringLiteral("0"), this);
  counter_->setObjectName(QStringLiteral("importCount"));
  countRow->addWidget(counter_);
  countRow->addStretch();
  layout->addSpacing(4);
  layout->addLayout(countRow);
  layout->addSpacing(4);

  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("importList"));
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({QStringLiteral("Titel")});
  list_->setColumnWidth(0, 350);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(list_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
  import_ = new QPushButton(QStringLiteral("Auswahl importieren >>"), this);
  import_->setDefault(true);
  buttons->addWidget(cancel_);
  buttons->addWidget(import_);
  layout->addSpacing(10);
  layout->addLayout(buttons);

  connect(cancel_, &QPushButton::clicked, this, &QDialog::close);
  connect(import_, &QPushButton::clicked, this, &ImportChooser::importRequested);
}

void ImportChooser::AddTitle(const QString& title) {
  list_->addTopLevelItem(new QTreeWidgetItem(QStringList{title}));
  ++count_;
  counter_->setText(QString::number(count_));
}

std::vector<int> ImportChooser::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool ImportChooser::HasCurrentRow() const {
  return list_->currentItem() != nullptr;
}

}  // namespace psalmora
