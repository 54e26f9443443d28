// The live preview of the main window: renders "vorschau.htm" for the song chosen in `CurrentSongList`
// and shows it in the preview pane's page view, sets what the main window shows beside it (song-state
// buttons, tempo label, hidden record field, song-order text), watches the slide markers, and saves a
// copy of the shown song ("songcopy speichern").
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "render/render_page.h"

namespace psalmora {

struct AppState;
class Messages;
class PresentationHost;
class PageView;

class PreviewController : public QObject {
  Q_OBJECT

 public:
  // Places its page view into the preview pane; the shell sends it the window's preview requests.
  // Owned by the window (a child object), so it lives exactly as long as the window.
  // messages (may be nullptr) receives the failure of "songcopy speichern".
  PreviewController(AppState& state, PresentationHost& window, Messages* messages = nullptr);

  // The controller of a window, if one was made for it.
  static PreviewController* Of(const QObject& window);

  PageView* View() const { return view_; }

  // `ShowPreview`: `RenderPage` with "vorschau" for the selected songs of `CurrentSongList`, then the
  // side effects in the main window and the page loaded into the view.
  void ShowPreview();
  // The song order of the song shown last, lines separated by "\n" (for the song-order window).
  const QString& SongOrderText() const { return songOrderText_; }

  // "songcopy speichern": copies the shown song with its chords as transposed now, adds its row at the
  // top of `GroupSongList` and, when `GroupChooser` shows a group, adds it to that group. Returns the
  // copy's id; nothing when no song is shown or the copy could not be saved (then said in a message).
  std::optional<std::string> SaveSongCopy();

 signals:
  // A preview page was written (or its writing failed) and handed to the view; file is its path.
  void previewRendered(const QString& file);
  // The view finished loading a preview page.
  void previewLoaded(bool ok);
  // The song order of the shown song changed; the song-order window shows it while it is open.
  void songOrderTextChanged(const QString& text);
  // A slide marker of the preview page was clicked: the page title became the slide number.
  void slideMarkerClicked(int slide);
  // A copy was saved under this id.
  void songCopied(const QString& id);

 private:
  std::vector<std::string> RenderList() const;
  void ApplySideEffects(const RenderResult& result);
  // The song of the page shown is no longer an active song of the store (it went to the trash).
  bool ShownSongIsGone() const;
  // An empty page, no shown record, no song order.
  void ClearPreview();
  void OnTitleChanged(const QString& title);
  void AddCopyToShownGroup(const std::string& record);

  AppState& state_;
  PresentationHost& window_;
  Messages* messages_ = nullptr;
  PageView* view_ = nullptr;
  QString songOrderText_;
};

}  // namespace psalmora
