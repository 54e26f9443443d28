// The preview pane of the right column: its toolbar (transposition, song copy, two columns, song order,
// beamer mirror, video buttons, activities, tempo toggle), the tempo label that blinks in the song's
// tempo, the record line of the song shown last, and the area that holds the preview page.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <string_view>

#include "core/ui/app_icons.h"

class QAction;
class QLabel;
class QLineEdit;
class QTimer;
class QToolBar;

namespace psalmora {

struct AppState;

enum class PreviewCommand {
  TransposeDown,
  TransposeUp,
  SaveSongCopy,
  SongOrder,
  VideoInBackground,
  VideoOnBeamer,
  VideoStop,
  Activities,
};

// Blink period of the tempo label: 1000000 / (tempo * 1000 / 60), both divisions truncating; 0 for a
// tempo that gives no period (0, negative, or so fast the divisor is 0).
int TempoBlinkPeriodMs(long long tempo);

class PreviewPane : public QWidget {
  Q_OBJECT

 public:
  PreviewPane(AppState& state, QWidget* parent = nullptr);

  // `TransposeField`: the transposition offset shown in the toolbar.
  QLineEdit* TransposeField() const { return transposeField_; }
  int TransposeValue() const;
  void SetTransposeValue(int semitones);

  QAction* Action(PreviewCommand command) const;
  QAction* TwoColumnsToggle() const { return twoColumns_; }
  QAction* MirrorBeamerToggle() const { return mirrorBeamer_; }
  QAction* TempoToggle() const { return tempoToggle_; }
  QLabel* TempoLabel() const { return tempoLabel_; }
  QToolBar* Toolbar() const { return toolbar_; }
  // The widget the preview page is placed into (it has a layout with no margins).
  QWidget* ViewHost() const { return viewHost_; }

  // The record line of the song shown last (the hidden record field), and what showing a song sets
  // from it: the song-state buttons and the tempo label ("Tempo: " + field 16 + " bpm", or
  // "kein Tempo"), back on light grey.
  const std::string& ShownRecord() const { return shownRecord_; }
  void SetShownRecord(std::string record);
  // The two video buttons are enabled when field 13 ("Videoverknüpfung - ID") is a number other than 0.
  void SetSongStateButtons(std::string_view record);

 signals:
  void commandTriggered(PreviewCommand command);
  // Transposition or the two-column toggle changed: the preview has to be rendered again.
  void previewRequested();

 private:
  QWidget* BuildCommandStrip();
  QWidget* BuildViewFrame();
  QAction* AddCommand(IconId icon, const QString& tooltip, PreviewCommand command);
  void RestartTempoBlink();
  void ToggleTempoColour();
  void SetTempoColour(bool red);

  AppState& state_;
  QToolBar* toolbar_ = nullptr;
  QLineEdit* transposeField_ = nullptr;
  std::array<QAction*, 8> commands_{};
  QAction* twoColumns_ = nullptr;
  QAction* mirrorBeamer_ = nullptr;
  QAction* tempoToggle_ = nullptr;
  QLabel* tempoLabel_ = nullptr;
  QTimer* tempoTimer_ = nullptr;
  bool tempoRed_ = false;
  QWidget* viewHost_ = nullptr;
  std::string shownRecord_;
};

}  // namespace psalmora
