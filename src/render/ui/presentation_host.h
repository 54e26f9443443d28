// `PresentationHost`: the song lists' host plus what the preview and beamer controllers need of the
// main window: the preview pane, the presentation toolbar, the status bar's beamer title and the slide
// keys. The application shell implements it.
#pragma once

#include "songdb/ui/song_lists_host.h"

namespace psalmora {

class PresentationToolbar;
class PreviewPane;

class PresentationHost : public SongListsHost {
 public:
  virtual PreviewPane* Preview() const = 0;
  virtual PresentationToolbar* PresentationBar() const = 0;
  // Brings the preview pane to the front of the right column.
  virtual void ShowPreviewPane() = 0;
  // The title of the song on the beamer, shown in the status bar.
  virtual void ShowBeamerTitle(const QString& title) = 0;
  // Gives the digit keys 1-9 to the slides (paging on) or takes them away (paging off).
  virtual void SetSlideKeys(bool on) = 0;
  // A passing message in the status bar.
  virtual void ShowStatusMessage(const QString& text) = 0;
};

}  // namespace psalmora
