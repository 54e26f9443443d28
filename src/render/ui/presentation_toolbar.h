// The presentation toolbar strip along the bottom of the main window: the "Präsentationssteuerung" label,
// the chord and translation toggles, the six live controls (F7-F12), the send button, "Folien verwenden"
// with the nine slide buttons, and the news, web search and SongSelect buttons.
#pragma once

#include <QToolBar>
#include <array>

class QAction;
class QCheckBox;

namespace psalmora {

struct AppState;

enum class PresentationCommand {
  ToggleFooter,  // F7
  ToggleHeader,  // F8
  FontSmaller,   // F9
  FontLarger,    // F10
  ScrollUp,      // F11
  ScrollDown,    // F12
  SendToBeamer,
  News,
  WebSearch,
  SongSelect,
};

class PresentationToolbar : public QToolBar {
  Q_OBJECT

 public:
  PresentationToolbar(AppState& state, QWidget* parent = nullptr);

  QAction* ChordsToggle() const { return chords_; }
  QAction* TranslationToggle() const { return translation_; }
  // The button of a command; F7-F12 carry their function key as a window-wide shortcut.
  QAction* Action(PresentationCommand command) const;
  QCheckBox* UseSlidesBox() const { return useSlides_; }
  // "Schwarzbild": checked while the beamer shows black.
  QAction* BlackToggle() const { return black_; }
  // Slide buttons 1-9 (created disabled; the presentation enables as many as the song has slides).
  QAction* SlideButton(int slide) const;
  void SetSlideButtonsEnabled(int slideCount);

 signals:
  void commandTriggered(PresentationCommand command);
  void slideChosen(int slide);
  void chordsOrTranslationToggled();
  void useSlidesToggled(bool on);
  void blackToggled(bool on);

 private:
  void AddLiveControls();
  void AddSlideControls();
  QAction* AddCommand(const QIcon& icon, const QString& tooltip, PresentationCommand command);

  AppState& state_;
  QAction* chords_ = nullptr;
  QAction* translation_ = nullptr;
  std::array<QAction*, 10> commands_{};
  QAction* black_ = nullptr;
  QCheckBox* useSlides_ = nullptr;
  std::array<QAction*, 9> slides_{};
};

}  // namespace psalmora
