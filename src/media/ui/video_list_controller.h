// `VideoListController`: the video page (the video site's pane with the shown video's address, title
// and artist; adding it to the video list, swapping title and artist, the download, the list's clicks,
// Enter and "entfernen") and `PlayYoutube` for the chosen entry or the previewed song's linked one,
// with the preview toolbar's video buttons. The download runs on a worker thread, one at a time; every
// change of the list, its rows and its file is made on the interface thread.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <filesystem>
#include <functional>
#include <string>

#include "transfer/libreoffice_automation.h"

class QNetworkAccessManager;

namespace psalmora {

struct AppState;
class MediaController;
class Messages;
class RemotePageView;
class PresentationHost;
class VideoPage;
enum class PreviewCommand;
enum class VideoPageCommand;
enum class VideoTarget;

struct VideoListServices {
  std::function<bool()> isOnline;  // default: IsOnline()
  ProgramTools tools;              // default: QtProgramTools()
  // Fetches a picture from the web into a file, in the background; default: QNetworkAccessManager.
  std::function<void(const QString& address, const std::filesystem::path& target)> fetchPicture;
};

class VideoListController : public QObject {
  Q_OBJECT

 public:
  VideoListController(AppState& state, PresentationHost& window, MediaController& media, Messages& messages,
                      VideoListServices services = {});
  ~VideoListController() override;

  static VideoListController* Of(const QObject& window);

  // `PlayYoutube`: with linkedSong and a song link other than 0 the previewed song's entry, otherwise
  // the entry chosen in the video list.
  void PlayYoutube(bool linkedSong, VideoTarget target);
  // "Video in Liste speichern": the shown video becomes a new entry.
  void AddShownVideo();
  // "gewähltes Video downloadn": the chosen entry's video, on a worker.
  void DownloadChosenVideo();
  // "entfernen": the chosen entries and their files.
  void RemoveChosenVideos();
  void OnPageCommand(VideoPageCommand command);
  void OnPreviewCommand(PreviewCommand command);

  RemotePageView* SiteView() const { return site_; }
  bool Downloading() const { return worker_ != nullptr; }
  // The video site's page of a video was shown: its address, artist and title go into the fields.
  void TakeShownVideo(const QString& address, const QString& pageTitle);

 signals:
  // A download ended and its outcome is in the list and its file (flag "0" or "1").
  void downloadFinished(const QString& id, bool downloaded);

 private:
  VideoPage* Page() const;
  // The entry's line, or empty when there is none.
  std::string EntryLine(const QString& id) const;
  QString ChosenId() const;
  void SaveAndShow();
  void SetFlag(const QString& id, const char* flag);
  void FinishDownload(const QString& id, bool downloaded, const QString& error);

  AppState& state_;
  PresentationHost& main_;
  MediaController& media_;
  Messages& messages_;
  VideoListServices services_;
  RemotePageView* site_ = nullptr;
  QNetworkAccessManager* network_ = nullptr;
  QThread* worker_ = nullptr;
  QString downloadingId_;
};

}  // namespace psalmora
