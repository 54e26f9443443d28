// The media browser, playback and slides. The beamer's movie area is a child of the presentation window
// lying over its media layer; a new presentation window gets a new one.
#include "media/ui/media_controller.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLayout>
#include <QListWidget>
#include <QMediaPlayer>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <filesystem>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "media/media_files.h"
#include "media/ui/media_pages.h"
#include "media/ui/slide_pane.h"
#include "media/ui/video_area.h"
#include "platform/office_process.h"
#include "platform/page_view.h"
#include "render/ui/presentation_host.h"
#include "render/ui/presentation_window.h"

namespace psalmora {
namespace {

QString LocalText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

QUrl FolderAddress(const std::filesystem::path& folder) {
  return QUrl::fromLocalFile(LocalText(folder) + QLatin1Char('/'));
}

}  // namespace

MediaController::MediaController(AppState& state, PresentationHost& window, MediaPanes panes, Messages& messages,
                                 OfficeFactory office)
    : QObject(window.HostWindow()),
      state_(state),
      main_(window),
      panes_(std::move(panes)),
      messages_(messages),
      office_(std::move(office)) {
  setObjectName(QStringLiteral("mediaController"));
  if (!office_) office_ = [] { return CreateOfficeAutomation(); };

  // The preview's video pane: pause, go on, the same file on the beamer; under it the movie.
  QWidget* videoPane = panes_.pane(MediaPane::Video);
  auto* strip = new QHBoxLayout;
  strip->setContentsMargins(2, 2, 2, 2);
  const struct {
    IconId icon;
    QString tooltip;
    std::function<void()> action;
  } buttons[] = {
      {IconId::MediaPause, Tr("Video pausieren", state_), [this] { previewVideo_->Player()->pause(); }},
      {IconId::MediaPlay, Tr("Video fortsetzen", state_), [this] { previewVideo_->Player()->play(); }},
      {IconId::PlayLink, Tr("Video auf Beamer abspielen", state_),
       [this] {
         if (!previewVideo_->File().isEmpty()) PlayVideo(previewVideo_->File(), VideoTarget::Beamer, true);
       }},
  };
  for (const auto& spec : buttons) {
    QToolButton* button = IconButton(AppIcon(spec.icon), spec.tooltip, videoPane);
    connect(button, &QToolButton::clicked, this, spec.action);
    strip->addWidget(button);
  }
  strip->addStretch(1);
  static_cast<QVBoxLayout*>(videoPane->layout())->addLayout(strip);
  previewVideo_ = new VideoArea(videoPane);
  previewVideo_->setObjectName(QStringLiteral("previewVideo"));
  videoPane->layout()->addWidget(previewVideo_);
  connect(previewVideo_, &VideoArea::loadFailed, this, &MediaController::VideoFailed);

  slides_ = new SlidePane(state_, panes_.pane(MediaPane::Slides));
  panes_.pane(MediaPane::Slides)->layout()->addWidget(slides_);
  connect(slides_, &SlidePane::slideChosen, this, &MediaController::ShowSlide);
  connect(slides_, &SlidePane::slideToBeamer, this, &MediaController::ShowSlideOnBeamer);
  connect(slides_, &SlidePane::startRequested, this, &MediaController::StartPresentation);

  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(400);
  connect(progressTimer_, &QTimer::timeout, this, [this] {
    progress_ = std::min(progress_ + 3, 90);
    main_.ShowProgress(progress_, Tr("Folien werden erstellt...", state_));
  });

  if (panes_.files) {
    connect(panes_.files, &FilePage::fileChosen, this, &MediaController::ShowMediaFile);
    connect(panes_.files, &FilePage::fileSelected, this, &MediaController::PreloadForBeamer);
  }
}

MediaController::~MediaController() {
  if (worker_) worker_->wait();
}

MediaController* MediaController::Of(const QObject& window) {
  return window.findChild<MediaController*>(QStringLiteral("mediaController"), Qt::FindDirectChildrenOnly);
}

void MediaController::ShowMediaFile(const QString& file, bool beamer) {
  const FileTypes types = panes_.files ? panes_.files->FieldTexts() : state_.fileTypes;
  switch (ClassifyMediaFile(ToCp1252(file), types)) {
    case MediaKind::kPresentation:
      panes_.show(MediaPane::Slides);
      LoadPresentationSlides(file, beamer);
      break;
    case MediaKind::kVideo:
      if (beamer) {
        PlayVideo(file, VideoTarget::Beamer, true);
      } else {
        PlayVideo(file, VideoTarget::Preview, false);
      }
      break;
    case MediaKind::kMusic:
      PlayVideo(file, VideoTarget::Preview, true);
      break;
    case MediaKind::kNone:
      break;
  }
}

void MediaController::PreloadForBeamer(const QString& file) {
  // Enter usually follows the choice of a file: the beamer's player reads the movie meanwhile, so its
  // first picture comes without the pipeline's start-up.
  const FileTypes types = panes_.files ? panes_.files->FieldTexts() : state_.fileTypes;
  if (ClassifyMediaFile(ToCp1252(file), types) != MediaKind::kVideo) return;
  if (PresentationWindow* window = panes_.beamer ? panes_.beamer() : nullptr) BeamerArea(window)->Preload(file);
}

void MediaController::PlayVideo(const QString& file, VideoTarget target, bool autostart) {
  if (target == VideoTarget::Preview) {
    panes_.show(MediaPane::Video);
    previewVideo_->Play(file, autostart);
    return;
  }
  PresentationWindow* window = panes_.beamer ? panes_.beamer() : nullptr;
  if (!window) return;
  VideoArea* area = BeamerArea(window);
  window->MediaLayer()->setHtml(PresentationWindow::MediaStartHtml());
  ShowMediaLayer(window);
  area->show();
  area->raise();
  if (window->IsBlack()) window->SetBlack(true);
  area->Play(file, true);
}

VideoArea* MediaController::BeamerArea(PresentationWindow* window) {
  if (beamerVideo_ && beamerVideo_->parent() == window) return beamerVideo_;
  auto* area = new VideoArea(window);
  area->setObjectName(QStringLiteral("beamerVideo"));
  area->setGeometry(window->rect());
  area->hide();
  window->installEventFilter(this);
  // Showing a song hides the media layer: the movie stops with it.
  connect(window, &PresentationWindow::songLayerShown, this, &MediaController::StopBeamerVideo);
  connect(area, &VideoArea::loadFailed, this, &MediaController::VideoFailed);
  beamerVideo_ = area;
  return area;
}

void MediaController::ShowMediaLayer(PresentationWindow* window) {
  window->MediaLayer()->page()->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
  window->MediaLayer()->show();
  window->MediaLayer()->raise();
  // The black screen stays over everything while it is on.
  if (window->IsBlack()) window->SetBlack(true);
}

bool MediaController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && beamerVideo_ && watched == beamerVideo_->parent()) {
    beamerVideo_->setGeometry(static_cast<QWidget*>(watched)->rect());
  }
  return QObject::eventFilter(watched, event);
}

void MediaController::StopBeamerVideo() {
  if (!beamerVideo_) return;
  beamerVideo_->Halt();
  beamerVideo_->hide();
}

void MediaController::StopVideos() {
  previewVideo_->Stop();
  StopBeamerVideo();
  if (PresentationWindow* window = panes_.beamer ? panes_.beamer() : nullptr) {
    window->MediaLayer()->setHtml(PresentationWindow::MediaStartHtml());
    ShowMediaLayer(window);
  }
}

bool MediaController::ShowBeamerPage(const QString& html, const QString& baseAddress) {
  PresentationWindow* window = panes_.beamer ? panes_.beamer() : nullptr;
  if (!window) return false;
  StopBeamerVideo();
  window->MediaLayer()->setHtml(html, QUrl(baseAddress));
  ShowMediaLayer(window);
  return true;
}

void MediaController::VideoFailed() {
  messages_.Show(main_.HostWindow(), MessageIcon::Information, Tr("Fehler", state_),
                 Tr("WMV Video konnte nicht geladen werden...", state_));
}

void MediaController::LoadPresentationSlides(const QString& presentation, bool showOnBeamer) {
  if (worker_) {
    pendingPresentation_ = presentation;
    pendingOnBeamer_ = showOnBeamer;
    return;
  }
  const std::filesystem::path folder = state_.dataFiles.powerpoint;
  DeleteSlidePictures(folder, slideCount_);
  slideCount_ = 0;
  presentation_ = presentation;
  slides_->Thumbnails()->clear();
  progress_ = 5;
  main_.ShowProgress(progress_, Tr("Folien werden erstellt...", state_));
  progressTimer_->start();
  worker_ = QThread::create([this, presentation, showOnBeamer, folder, office = office_] {
    const SlideConversion result = office()->ConvertPresentationToImages(presentation.toStdString(), folder);
    QMetaObject::invokeMethod(
        this, [this, result, presentation, showOnBeamer] { FinishSlides(result, presentation, showOnBeamer); },
        Qt::QueuedConnection);
  });
  connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
  worker_->start();
}

void MediaController::FinishSlides(const SlideConversion& result, const QString& presentation, bool showOnBeamer) {
  worker_->wait();
  worker_ = nullptr;
  progressTimer_->stop();
  if (!pendingPresentation_.isEmpty()) {
    // A newer choice came while this one was made: that one is wanted now.
    const QString next = pendingPresentation_;
    pendingPresentation_.clear();
    slideCount_ = result.slideCount;
    LoadPresentationSlides(next, pendingOnBeamer_);
    return;
  }
  main_.EndProgress();
  slideCount_ = result.status == OfficeStatus::kOk ? result.slideCount : 0;
  if (result.status == OfficeStatus::kNoOffice) {
    messages_.Show(main_.HostWindow(), MessageIcon::Information, Tr("Powerpoint", state_),
                   Tr("Meldung kein Powerpoint", state_));
  } else if (result.status == OfficeStatus::kCannotRead) {
    messages_.Show(
        main_.HostWindow(), MessageIcon::Information, Tr("Powerpoint", state_),
        QFileInfo(presentation).fileName() + QStringLiteral(" ") + Tr("konnte nicht geöffnet werden!", state_));
  }
  FillThumbnails();
  if (slideCount_ > 0) {
    slides_->Thumbnails()->setCurrentRow(0);  // shows slide 1
    ShowSlide(1);
    if (showOnBeamer) ShowSlideOnBeamer(1);
  }
  emit slidesLoaded(slideCount_);
}

void MediaController::FillThumbnails() {
  QListWidget* list = slides_->Thumbnails();
  const QSignalBlocker quiet(list);
  list->clear();
  int tallest = 0;
  for (int slide = 1; slide <= slideCount_; ++slide) {
    const QImage picture(LocalText(SlidePicture(state_.dataFiles.powerpoint, slide)));
    const int height = SlideThumbnailHeight(picture.width(), picture.height());
    tallest = std::max(tallest, height);
    const QImage thumbnail = picture.isNull() ? QImage()
                                              : picture.scaled(kSlideThumbnailWidth, std::max(height, 1),
                                                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    list->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(thumbnail)), QString::number(slide)));
  }
  list->setIconSize(QSize(kSlideThumbnailWidth, std::max(tallest, 1)));
}

void MediaController::ShowSlide(int slide) {
  if (slide < 1 || slide > slideCount_) return;
  PageView* view = slides_->SlideView();
  const std::filesystem::path folder = state_.dataFiles.powerpoint;
  view->setHtml(QString::fromStdString(SlideViewHtml(view->width(), SlidePicture(folder, slide))),
                FolderAddress(folder));
}

void MediaController::ShowSlideOnBeamer(int slide) {
  if (slide < 1 || slide > slideCount_) return;
  PresentationWindow* window = panes_.beamer ? panes_.beamer() : nullptr;
  if (!window) return;
  const std::filesystem::path folder = state_.dataFiles.powerpoint;
  const QImage picture(LocalText(SlidePicture(folder, slide)));
  ShowBeamerPage(QString::fromStdString(BeamerSlideHtml(window->width(), window->height(), picture.width(),
                                                        picture.height(), SlidePicture(folder, slide))),
                 FolderAddress(folder).toString());
}

void MediaController::StartPresentation() {
  if (presentation_.isEmpty()) return;
  emit presentationStartRequested(presentation_, panes_.presentationMode ? panes_.presentationMode() : 0);
}

}  // namespace psalmora
