// The picture widget is placed by hand at the fitted rectangle and told to ignore the aspect ratio:
// the fitting is the program's, not the widget's.
#include "media/ui/video_area.h"

#include <QAudioOutput>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

#include "media/media_files.h"

namespace psalmora {

VideoArea::VideoArea(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  picture_ = new QVideoWidget(this);
  picture_->setObjectName(QStringLiteral("videoPicture"));
  picture_->setAspectRatioMode(Qt::IgnoreAspectRatio);
  picture_->setFocusPolicy(Qt::NoFocus);
  picture_->hide();
  player_ = new QMediaPlayer(this);
  audio_ = new QAudioOutput(this);
  player_->setAudioOutput(audio_);
  player_->setVideoOutput(picture_);
  connect(picture_->videoSink(), &QVideoSink::videoFrameChanged, this, &VideoArea::OnFrame);
  connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString&) {
    if (error != QMediaPlayer::NoError) Fail();
  });
  connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
    if (status == QMediaPlayer::InvalidMedia) Fail();
  });
  connect(player_, &QMediaPlayer::metaDataChanged, this, [this] {
    const QSize size = player_->metaData().value(QMediaMetaData::Resolution).toSize();
    if (size.isValid() && !size.isEmpty() && movieSize_.isEmpty()) {
      movieSize_ = size;
      Fit();
    }
  });
}

VideoArea::~VideoArea() {
  // Halt GStreamer before the widgets it paints into go.
  player_->stop();
}

void VideoArea::Play(const QString& file, bool autostart) {
  const QUrl address = QUrl::fromLocalFile(file);
  // A file already loaded (preloaded, or halted) starts from its beginning without a new pipeline.
  const bool loaded = file == file_ && !failed_ && player_->source() == address;
  autostart_ = autostart;
  started_ = true;
  frames_ = 0;
  if (!loaded) {
    player_->stop();
    file_ = file;
    failed_ = false;
    movieSize_ = QSize();
    // The same address again (after a failure) is only read anew once the player let go of it.
    if (player_->source() == address) player_->setSource(QUrl());
    player_->setSource(address);
  } else if (player_->position() != 0) {
    player_->setPosition(0);
  }
  Fit();
  picture_->show();
  player_->play();
}

void VideoArea::Preload(const QString& file) {
  if (started_ && IsPlaying()) return;  // never disturb a movie the audience watches
  if (file == file_ && !failed_) return;
  player_->stop();
  file_ = file;
  failed_ = false;
  started_ = false;
  frames_ = 0;
  movieSize_ = QSize();
  player_->setSource(QUrl::fromLocalFile(file));
}

void VideoArea::Halt() {
  player_->stop();
  started_ = false;
  frames_ = 0;
  picture_->hide();
}

void VideoArea::Stop() {
  player_->stop();
  player_->setSource(QUrl());
  file_.clear();
  started_ = false;
  frames_ = 0;
  picture_->hide();
}

bool VideoArea::IsPlaying() const {
  return player_->playbackState() == QMediaPlayer::PlayingState;
}

void VideoArea::OnFrame(const QVideoFrame& frame) {
  if (!frame.isValid() || file_.isEmpty() || failed_) return;
  if (!started_) {
    if (movieSize_.isEmpty() && frame.size().isValid()) {
      movieSize_ = frame.size();
      Fit();
    }
    return;
  }
  ++frames_;
  if (frames_ != 1) return;
  if (movieSize_.isEmpty() && frame.size().isValid()) {
    movieSize_ = frame.size();
    Fit();
  }
  // The preview keeps the first picture standing.
  if (!autostart_) player_->pause();
  emit firstFrameShown();
}

void VideoArea::Fail() {
  if (failed_ || file_.isEmpty()) return;
  failed_ = true;
  // A preloaded file that cannot be played is told when it is played, not when it was chosen.
  if (!started_) return;
  const QString file = file_;
  player_->stop();
  picture_->hide();
  emit loadFailed(file);
}

void VideoArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Fit();
}

void VideoArea::Fit() {
  const FitRect fit = FitVideo(width(), height(), movieSize_.width(), movieSize_.height());
  picture_->setGeometry(fit.x, fit.y, fit.width, fit.height);
}

}  // namespace psalmora
