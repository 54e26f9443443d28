// The beamer's operations: opening the presentation window on a monitor and following the screens,
// sending songs and slides, the header and footer bands, font size, scrolling, the chord and translation
// toggles, free text, the mirror of the preview, the monitor information, the control window's
// miniature, the song-order window and the presentation statistics.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "platform/screens.h"
#include "render/render_page.h"
#include "render/style_spec.h"
#include "songdb/presentation_recorder.h"

class QTimer;

namespace psalmora {

struct AppState;
struct Settings;
class ControlWindow;
class Messages;
class MouseOverWarning;
class PresentationHost;
class PresentationWindow;
class SongOrderWindow;
class BeamerKeyFilter;
enum class PresentationCommand;
enum class BeamerKey;

// What the controller reads from the machine; tests replace the screens and the clocks.
struct PresentationServices {
  MonitorSource monitors;                   // default: CurrentMonitors
  PresentationRecorder::Clock statsClock;   // default: LocalCalendarSeconds
  std::function<qint64()> millisecondsNow;  // default: QDateTime::currentMSecsSinceEpoch
};

class PresentationController : public QObject {
  Q_OBJECT

 public:
  // A child of the window. Connects the presentation toolbar, the song lists' double click and Enter,
  // the preview's slide markers and mirror; the shell sends it the "Präsentation" menu, the F-keys
  // and digit keys, and the Bible page's send button.
  PresentationController(AppState& state, PresentationHost& window, Messages& messages,
                         PresentationServices services = {});
  ~PresentationController() override;

  static PresentationController* Of(const QObject& window);

  // `OpenPresentation`: monitor 0 (first) or 1 (second). An open window is replaced.
  void OpenPresentation(int monitor);
  bool IsOpen() const { return !window_.isNull(); }
  PresentationWindow* Window() const;
  // `PresentationMode` of the window opened last.
  int PresentationMode() const { return mode_; }

  // `SendSongToBeamer`: the song chosen in `CurrentSongList` goes to the beamer: "beamer-lied",
  // "akkorde", "fuss"; paging restarts at slide 1. Every other operation acts on that song until the
  // next send, whatever the lists choose for the preview meanwhile.
  void SendSongToBeamer();
  // `SelectSlide`: slide buttons and the digit keys.
  void SelectSlide(int slide);
  // A slide marker of the preview: the previewed song is sent, at that slide.
  void ShowPreviewSlide(int slide);
  // The F7-F12 commands of the presentation toolbar and the main window's keys.
  void OnPresentationCommand(PresentationCommand command);
  // The live keys. Next: the following slide; after the last slide of a song that came from the
  // selection list, the next song of that list at slide 1. Previous: the slide before; before the first
  // slide, the previous song of the selection list at its last slide. With paging off (or free text on
  // the beamer) they scroll by the scroll step as F12 and F11 do. Nothing while the window is closed.
  void NextSlide();
  void PreviousSlide();
  void OnBeamerKey(BeamerKey key);
  // Black over the whole beamer, bands too; sending songs and choosing slides go on underneath.
  void SetBlack(bool black);
  bool IsBlack() const { return black_; }
  // The slide on the beamer (0: paging off or nothing sent).
  int BeamerSlide() const;
  // The preview page marks the slide on the beamer (its "Folie" marker in another colour) while it shows
  // the song on the beamer; otherwise no marker is marked.
  void MarkPreviewSlide();
  // `SetPaging`: "Folien verwenden".
  void SetPaging(bool on);
  // F7-F12 and their buttons; nothing while the window is closed.
  void ToggleFooter();
  void ToggleHeader();
  void ChangeFontSize(StyleAdjustment adjustment);
  void ScrollBeamer(bool down);
  // The "Akkorde" / "Übersetzung" toggles changed.
  void ChordsOrTranslationToggled();
  // "freetext", then "kopfzeile", from the texts of the free-text panel (Windows-1252); the footer band
  // is emptied. Until the next song, font size and the toggles render the free text again.
  void SendFreeText(const std::string& headerText, const std::string& freeText);
  // `ShowMonitorInfo`.
  void ShowMonitorInfo();
  // `OpenControlWindow`: create or bring it up; it stays remembered as shown.
  void OpenControlWindow();
  // "liedablauf": create or show the song-order window with the previewed song's order.
  void ShowSongOrderWindow();

  ControlWindow* Control() const { return control_; }
  SongOrderWindow* SongOrder() const { return songOrder_; }
  PresentationRecorder& Recorder() { return *recorder_; }
  // The miniature is due once the second of the last beamer change has passed.
  bool MiniatureRefreshPending() const { return refreshPending_; }
  // Re-reads the monitors and moves the window after screens were added or removed.
  void FollowScreens();
  void SetMonitorSource(MonitorSource source) { services_.monitors = std::move(source); }

  // The beamer as the stage view and the remote see it: the song rendered last, the transposition it was
  // sent in, the free text while it is up, the bands.
  const std::string& BeamerRecord() const { return beamerRecord_; }
  const std::string& BeamerOffset() const { return beamerOffset_; }
  const std::optional<std::string>& BeamerFreeText() const { return freeText_; }
  bool HeaderVisible() const { return headerVisible_; }
  bool FooterVisible() const { return footerVisible_; }
  // Sends the song of the selection list's row (the list's choice moves along); false when there is none.
  bool SendSelectionRow(int row);
  // The selection-list row of the song on the beamer, or -1 when it did not come from that list.
  int BeamerSelectionRow() const;

  // The shutdown's values: band flags, the two windows' shown state and, while they exist, their places.
  void StoreRunValues(Settings& settings) const;
  bool ControlWindowExists() const { return control_ != nullptr; }
  bool SongOrderWindowExists() const { return songOrder_ != nullptr; }

 signals:
  // The beamer's picture changed (scroll, bands, a new main page); the miniature follows.
  void beamerChanged();

 private:
  void ConnectMainWindow();
  void SendSongOnEnter();
  RenderResult Render(RenderMode mode);
  void LoadIntoFrame(RenderMode mode, const RenderResult& result);
  void AfterBeamerSong(const RenderResult& result, bool newPresentation);
  void MirrorPreview(const QString& file);
  void RenderFreeText();
  // The beamer's main page again after a layout or paging change: the free text or the song sent.
  void RenderBeamerAgain();
  // The records selected in `CurrentSongList` now.
  std::vector<std::string> ChosenSongs() const;
  // The chosen song becomes the one on the beamer, in the key the preview shows it.
  void TakeChosenSong();
  std::string LayoutIdOf(RenderMode mode) const;
  bool AdjustBeamerLayout(StyleAdjustment adjustment);
  void SyncToggles();
  void MarkBeamerChanged();
  void RefreshMiniatureWhenDue();
  void RefreshMiniature();
  void PlaceWindow(bool keepVisible);
  void GiveFocusBack();

  AppState& state_;
  PresentationHost& main_;
  Messages& messages_;
  PresentationServices services_;
  QPointer<PresentationWindow> window_;
  int mode_ = 0;
  bool headerVisible_ = false;
  bool footerVisible_ = false;
  std::string beamerRecord_;  // the song last rendered for the beamer
  // The render list of the beamer: the records sent last and the transposition they were sent in.
  std::vector<std::string> beamerSongs_;
  std::string beamerOffset_ = "0";
  int beamerRow_ = -1;    // its row in the selection list, -1 when sent from another list
  int beamerSlides_ = 0;  // the number of blocks of the song on the beamer
  bool black_ = false;
  BeamerKeyFilter* keys_ = nullptr;
  std::optional<std::string> freeText_;  // the free text while it is on the beamer
  ControlWindow* control_ = nullptr;
  SongOrderWindow* songOrder_ = nullptr;
  MouseOverWarning* mouseWarning_ = nullptr;
  ScreenWatcher* screens_ = nullptr;
  std::unique_ptr<PresentationRecorder> recorder_;
  QTimer* recordTimer_ = nullptr;
  QTimer* miniatureTimer_ = nullptr;
  bool refreshPending_ = false;
  qint64 changedSecond_ = 0;
};

}  // namespace psalmora
