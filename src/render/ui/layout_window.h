// The layout settings window "Einstellungen Layouts": a chooser of the layouts, new and delete, the
// layout's fields in the record form of the layout schema (text styles with their font dialog, the glow
// outline with its colour), and a preview of the sample song through the layout. It blocks the main
// window while open; "speichern und schließen" saves, the close box discards.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "render/layout_file.h"
#include "render/render_page.h"

class QComboBox;
class QPushButton;
class QToolButton;

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;
class PageView;
class RecordForm;

struct LayoutWindowServices {
  Messages* messages = nullptr;
  CommonDialogs* dialogs = nullptr;
  // The main window's transposition when the window opened: the preview's chords follow it as every
  // page with chords does.
  std::string transposeOffset = "0";
};

class LayoutWindow : public QDialog {
  Q_OBJECT

 public:
  // Opens the window over mainWindow (blocked meanwhile) showing the beamer's layout; the window
  // deletes itself when closed and gives the main window the focus back.
  static LayoutWindow* Open(AppState& state, const LayoutWindowServices& services, QWidget* mainWindow);

  LayoutWindow(AppState& state, LayoutWindowServices services, QWidget* mainWindow = nullptr);

  std::filesystem::path LayoutFolder() const;
  // The key of the layout the form shows (empty when there is none).
  const std::string& ShownKey() const { return shownKey_; }
  const std::vector<LayoutEntry>& Layouts() const { return layouts_; }

  QComboBox* Chooser() const { return chooser_; }
  QToolButton* NewButton() const { return newButton_; }
  QToolButton* DeleteButton() const { return deleteButton_; }
  RecordForm* Form() const { return form_; }
  QPushButton* RefreshButton() const { return refreshButton_; }
  QPushButton* SaveCloseButton() const { return saveCloseButton_; }
  PageView* Preview() const { return preview_; }
  // The page the last preview rendering wrote ("layout.htm" of the data folder).
  const RenderResult& LastPreview() const { return lastPreview_; }

 public slots:
  // `SaveLayout`: the form's values, one line each, over the shown layout's file.
  void SaveLayout();
  // `NewLayout`, `DeleteLayout`, "Vorschau aktualisieren", "speichern und schließen".
  void NewLayout();
  void DeleteLayout();
  void RefreshPreview();
  void SaveAndClose();
  // The style button of a format row and the "farbe" button of the outline row.
  void EditStyleOfRow(int row);
  void ChooseOutlineColour(int row);

 private:
  void BuildWindow();
  // Lists the layouts again, selects key (else the first layout) and shows it; nothing is saved.
  void Reopen(const std::string& key);
  void ShowChosen();
  void ChooserChanged();
  int EntryOfKey(const std::string& key) const;

  AppState& state_;
  LayoutWindowServices services_;
  QWidget* mainWindow_;
  std::vector<LayoutEntry> layouts_;
  std::string shownKey_;
  RenderState render_;
  RenderResult lastPreview_;

  QComboBox* chooser_ = nullptr;
  QToolButton* newButton_ = nullptr;
  QToolButton* deleteButton_ = nullptr;
  RecordForm* form_ = nullptr;
  QPushButton* refreshButton_ = nullptr;
  QPushButton* saveCloseButton_ = nullptr;
  PageView* preview_ = nullptr;
};

}  // namespace psalmora
