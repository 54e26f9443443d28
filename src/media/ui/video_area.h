// `VideoArea`: a black area that plays one movie (or one sound) at a time through Qt Multimedia, the
// picture scaled and centred by `FitVideo`. Used for the preview's video pane and the beamer's media
// layer.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QAudioOutput;
class QMediaPlayer;
class QVideoFrame;
class QVideoWidget;

namespace psalmora {

class VideoArea : public QWidget {
  Q_OBJECT

 public:
  explicit VideoArea(QWidget* parent = nullptr);
  ~VideoArea() override;

  // Loads the file and starts it; with autostart false it is halted again as soon as its first picture
  // is shown. A file that cannot be played reports loadFailed and leaves the area black.
  void Play(const QString& file, bool autostart);
  // Stops and frees the movie; the area is black.
  void Stop();
  // Loads the file without showing or starting it, so that a Play of it soon after starts at once. A
  // file that cannot be played is only told when it is played.
  void Preload(const QString& file);
  // Stops the movie and blacks the area but keeps the file loaded for the next Play.
  void Halt();

  QMediaPlayer* Player() const { return player_; }
  QVideoWidget* Picture() const { return picture_; }
  QString File() const { return file_; }
  // Pictures shown since the last Play.
  int FramesShown() const { return frames_; }
  bool IsPlaying() const;
  // The movie's size as far as known (from its first picture or its metadata).
  QSize MovieSize() const { return movieSize_; }

 signals:
  void firstFrameShown();
  void loadFailed(const QString& file);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnFrame(const QVideoFrame& frame);
  void Fail();
  void Fit();

  QMediaPlayer* player_ = nullptr;
  QAudioOutput* audio_ = nullptr;
  QVideoWidget* picture_ = nullptr;
  QString file_;
  QSize movieSize_;
  int frames_ = 0;
  bool autostart_ = true;
  bool failed_ = false;
  bool started_ = false;  // Play was called (not only Preload)
};

}  // namespace psalmora
