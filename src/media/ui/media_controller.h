// `MediaController`: the file page's media browser (`ShowMediaFile`), movie and music playback in the
// preview's video pane and on the beamer's media layer (`PlayVideo`), and the slides of a presentation
// (`LoadPresentationSlides`, `ShowSlide`, on the beamer too, and "Präsentation starten"). The slides
// are made beside the interface thread while the status bar shows the progress.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>

#include "media/ui/video_area.h"
#include "transfer/office_automation.h"

class QTimer;

namespace psalmora {

struct AppState;
class FilePage;
class Messages;
class PresentationHost;
class PresentationWindow;
class SlidePane;
class VideoPage;

enum class MediaPane { VideoSite, Slides, Video };

// The media pages of the main window and its right column's panes, as the shell hands them over.
struct MediaPanes {
  VideoPage* videos = nullptr;
  FilePage* files = nullptr;
  std::function<QWidget*(MediaPane)> pane;      // the empty pane widget (it has a layout)
  std::function<void(MediaPane)> show;          // brings the pane to the front of the right column
  std::function<PresentationWindow*()> beamer;  // the presentation window while it is open
  std::function<int()> presentationMode;        // `PresentationMode`
};

enum class VideoTarget { Preview, Beamer };

class MediaController : public QObject {
  Q_OBJECT

 public:
  using OfficeFactory = std::function<std::unique_ptr<OfficeAutomation>()>;

  // A child of the window. Without a factory the slides are made by LibreOffice.
  MediaController(AppState& state, PresentationHost& window, MediaPanes panes, Messages& messages,
                  OfficeFactory office = {});
  ~MediaController() override;

  static MediaController* Of(const QObject& window);

  // `ShowMediaFile`: a presentation becomes slides (the first shown, on the beamer too for beamer); a
  // video is played halted in the preview, or playing on the beamer; music plays in the preview.
  void ShowMediaFile(const QString& file, bool beamer);
  // `PlayVideo`: the preview's video pane (halted after its first picture unless autostart) or the
  // beamer's media layer (shown first). A file that cannot be played: the message, the area black.
  void PlayVideo(const QString& file, VideoTarget target, bool autostart);
  // Stops the beamer's movie and shows its media layer black (also the preview's movie).
  void StopVideos();
  // A video chosen in the file browser is read by the beamer's player ahead of Enter.
  void PreloadForBeamer(const QString& file);
  // `LoadPresentationSlides`: old slides out, conversion on a worker, thumbnails, slide 1.
  void LoadPresentationSlides(const QString& presentation, bool showOnBeamer = false);
  // `ShowSlide` in the slide view; and the same slide on the beamer's media layer.
  void ShowSlide(int slide);
  void ShowSlideOnBeamer(int slide);
  // Shows an HTML page on the beamer's media layer (the video site's player); false without a beamer.
  bool ShowBeamerPage(const QString& html, const QString& baseAddress);
  // "Präsentation starten": the presentation of the current slides in the office program's viewer.
  void StartPresentation();

  VideoArea* PreviewVideo() const { return previewVideo_; }
  // The beamer's movie area (nullptr before the first movie on this presentation window).
  VideoArea* BeamerVideo() const { return beamerVideo_; }
  SlidePane* Slides() const { return slides_; }
  QString SlidesPresentation() const { return presentation_; }
  int SlideCount() const { return slideCount_; }
  bool Converting() const { return worker_ != nullptr; }
  const MediaPanes& Panes() const { return panes_; }

 signals:
  // The thumbnails of a new conversion are there (count 0: it failed).
  void slidesLoaded(int count);
  // "Präsentation starten" for the file, on the monitor of `PresentationMode`.
  void presentationStartRequested(const QString& presentation, int presentationMode);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  VideoArea* BeamerArea(PresentationWindow* window);
  void ShowMediaLayer(PresentationWindow* window);
  void StopBeamerVideo();
  void FinishSlides(const SlideConversion& result, const QString& presentation, bool showOnBeamer);
  void FillThumbnails();
  void VideoFailed();

  AppState& state_;
  PresentationHost& main_;
  MediaPanes panes_;
  Messages& messages_;
  OfficeFactory office_;
  VideoArea* previewVideo_ = nullptr;
  QPointer<VideoArea> beamerVideo_;
  SlidePane* slides_ = nullptr;
  QThread* worker_ = nullptr;
  QTimer* progressTimer_ = nullptr;
  int progress_ = 0;
  QString presentation_;
  int slideCount_ = 0;
  // A presentation chosen while another was being converted: converted next.
  QString pendingPresentation_;
  bool pendingOnBeamer_ = false;
};

}  // namespace psalmora
