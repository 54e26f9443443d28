// The song editor window: the record form of the song schema, the song order editor beside it, the song
// text editor below, and "Speichern", "Abbrechen", "Hilfe". It blocks the main window while it is open.
#pragma once

#include <QDialog>
#include <string>

#include "core/ui/help_viewer.h"

class QPlainTextEdit;
class QPushButton;

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;
class RecordForm;
class SongListsHost;
class SongTextEdit;

struct SongEditorServices {
  Messages* messages = nullptr;
  CommonDialogs* dialogs = nullptr;
  HelpOpener openHelp;
};

// The help topic of the editor's "Hilfe".
inline constexpr const char* kSongEditorHelpTopic = "Neues Lied erstellen";

class SongEditor : public QDialog {
  Q_OBJECT

 public:
  // `OpenSongEditor` for a new song. The id is taken now and stays used up even if the editor is
  // cancelled. The window deletes itself when closed.
  static SongEditor* OpenNew(AppState& state, const SongEditorServices& services, SongListsHost* main);
  // `OpenSongEditor` for the topmost chosen song of `CurrentSongList`. Without a chosen row nothing
  // opens, the main window gets the focus back and the result is nullptr.
  static SongEditor* OpenExisting(AppState& state, const SongEditorServices& services, SongListsHost* main);

  // main may be nullptr (no song lists to update); it is the window blocked while the editor is open.
  SongEditor(AppState& state, SongEditorServices services, SongListsHost* main, bool isNew, std::string editRecord);

  RecordForm* Form() const { return form_; }
  SongTextEdit* TextEditor() const { return text_; }
  QPlainTextEdit* OrderEditor() const;
  QPushButton* SaveButton() const { return save_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }
  bool IsNew() const { return isNew_; }
  const std::string& EditRecord() const { return editRecord_; }

 public slots:
  // `SaveSongFromEditor`: store, group, song lists, files; closes the editor when everything was written.
  // A failed write is reported and the editor stays open so the typed text is not lost.
  bool Save();

 private:
  void BuildWindow();
  void WarnAboutTab();
  void UpdateMainWindow(bool wasNew, const std::string& id, const std::string& record);
  // A new song joins the group that `GroupChooser` shows; returns whether the song is now in a shared group.
  bool AddToShownGroup(const std::string& id, const std::string& record);

  AppState& state_;
  SongEditorServices services_;
  SongListsHost* main_;
  bool isNew_;
  std::string editRecord_;
  RecordForm* form_ = nullptr;
  SongTextEdit* text_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
};

}  // namespace psalmora
