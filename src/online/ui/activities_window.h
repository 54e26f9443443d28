// `ActivitiesWindow` ("Aktivitäten empfangen"): the pool and its members to choose from, the active
// song of the chosen member (its local id and title), the button "Song" that selects it in the song
// list, and a line that says why nothing shows (no account, no pool, no connection).
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace psalmora {

struct AppState;

class ActivitiesWindow : public QWidget {
  Q_OBJECT

 public:
  // A window of its own over parent; closing destroys it.
  ActivitiesWindow(AppState& state, QWidget* parent);

  QComboBox* PoolChooser() const { return pool_; }
  QComboBox* UserChooser() const { return user_; }
  // The two "Aktiver Song" fields: the local song id and the title.
  QLineEdit* ActiveSongId() const { return songId_; }
  QLineEdit* ActiveSongTitle() const { return songTitle_; }
  QPushButton* SongButton() const { return songButton_; }
  QLabel* StatusLine() const { return status_; }

  // The pool (its "alleuser" entry) and the members ("pools" entries); the first of each is chosen.
  // The entries' display text is the part after the id; the whole entry is kept as the item's data.
  void SetPoolsAndUsers(const QString& poolEntry, const QStringList& userEntries);
  // The whole entry of the member chosen ("" when none).
  QString ChosenUserEntry() const;
  void ShowActiveSong(const QString& localId, const QString& title);
  void ShowStatus(const QString& text);

 private:
  QComboBox* pool_ = nullptr;
  QComboBox* user_ = nullptr;
  QLineEdit* songId_ = nullptr;
  QLineEdit* songTitle_ = nullptr;
  QPushButton* songButton_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace psalmora
