// Activities window layout.
#include "online/ui/activities_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"

namespace psalmora {
namespace {

QString DisplayText(const QString& entry) {
  const int dot = entry.indexOf(QLatin1Char('.'));
  return dot < 0 ? entry : entry.mid(dot + 1);
}

}  // namespace

ActivitiesWindow::ActivitiesWindow(AppState& state, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("activitiesWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Tr("Aktivitäten empfangen", state));
  setGeometry(250, 200, 300, 200);

  pool_ = new QComboBox(this);
  user_ = new QComboBox(this);
  songId_ = new QLineEdit(this);
  songId_->setReadOnly(true);
  songId_->setFont(QFont(QStringLiteral("Arial"), 15));
  songTitle_ = new QLineEdit(this);
  songTitle_->setReadOnly(true);
  songTitle_->setFont(QFont(QStringLiteral("Arial"), 12));
  songButton_ = new QPushButton(Tr("Song", state), this);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  status_->setTextFormat(Qt::PlainText);  // the server's message, never markup

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(Tr("Datenpool", state)), 0, 0);
  layout->addWidget(pool_, 0, 1, 1, 2);
  layout->addWidget(new QLabel(Tr("Benutzer", state)), 1, 0);
  layout->addWidget(user_, 1, 1, 1, 2);
  layout->addWidget(new QLabel(Tr("Aktiver Song", state)), 2, 0, 1, 3);
  layout->addWidget(songId_, 3, 0);
  layout->addWidget(songButton_, 3, 1, 1, 2);
  layout->addWidget(songTitle_, 4, 0, 1, 3);
  layout->addWidget(status_, 5, 0, 1, 3);
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(6, 1);
}

void ActivitiesWindow::SetPoolsAndUsers(const QString& poolEntry, const QStringList& userEntries) {
  pool_->clear();
  if (!poolEntry.isEmpty()) pool_->addItem(DisplayText(poolEntry), poolEntry);
  const QString chosen = ChosenUserEntry();
  user_->clear();
  for (const QString& entry : userEntries) user_->addItem(DisplayText(entry), entry);
  // A new list of the same pool keeps the member being watched.
  const int again = user_->findData(chosen);
  user_->setCurrentIndex(again >= 0 ? again : 0);
}

QString ActivitiesWindow::ChosenUserEntry() const {
  return user_->currentData().toString();
}

void ActivitiesWindow::ShowActiveSong(const QString& localId, const QString& title) {
  songId_->setText(localId);
  songTitle_->setText(title);
}

void ActivitiesWindow::ShowStatus(const QString& text) {
  status_->setText(text);
}

}  // namespace psalmora
