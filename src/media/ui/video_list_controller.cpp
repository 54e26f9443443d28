// The video list's commands. The worker only runs the downloader and the converter and touches no list:
// it hands its outcome to the interface thread, which sets the flag, the row's icon and the file.
#include "media/ui/video_list_controller.h"

#include <QAction>
#include <QCoreApplication>
#include <QLayout>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "media/ui/media_controller.h"
#include "media/ui/media_pages.h"
#include "media/ui/video_area.h"
#include "media/video_convert.h"
#include "media/video_list.h"
#include "media/video_site.h"
#include "platform/network_state.h"
#include "platform/office_process.h"
#include "platform/remote_page_view.h"
#include "render/ui/presentation_host.h"
#include "render/ui/presentation_window.h"
#include "render/ui/preview_pane.h"
#include "songdb/timestamp.h"

namespace psalmora {
namespace {

QString LocalText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

}  // namespace

VideoListController::VideoListController(AppState& state, PresentationHost& window, MediaController& media,
                                         Messages& messages, VideoListServices services)
    : QObject(window.HostWindow()),
      state_(state),
      main_(window),
      media_(media),
      messages_(messages),
      services_(std::move(services)) {
  setObjectName(QStringLiteral("videoListController"));
  if (!services_.isOnline) services_.isOnline = [] { return IsOnline(); };
  if (!services_.tools.run) services_.tools = QtProgramTools();

  QWidget* pane = media_.Panes().pane(MediaPane::VideoSite);
  // The site's pages are other people's: they live in the remote pages' profile.
  site_ = new RemotePageView(pane);
  site_->setObjectName(QStringLiteral("videoSiteView"));
  pane->layout()->addWidget(site_);
  connect(site_, &QWebEngineView::titleChanged, this,
          [this](const QString& title) { TakeShownVideo(site_->url().toString(), title); });
  if (!services_.fetchPicture) {
    network_ = new QNetworkAccessManager(this);
    services_.fetchPicture = [this](const QString& address, const std::filesystem::path& target) {
      QNetworkReply* reply = network_->get(QNetworkRequest(QUrl(address)));
      connect(reply, &QNetworkReply::finished, this, [reply, target] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) return;
        const WriteResult written = WriteFileAtomically(target, reply->readAll().toStdString());
        if (!written) std::fprintf(stderr, "psalmora: %s\n", written.error.c_str());
      });
    };
  }

  VideoPage* page = Page();
  page->FillVideoList(state_.videoList, &state_.dataFiles);
  connect(page, &VideoPage::commandTriggered, this, &VideoListController::OnPageCommand);
  connect(page, &VideoPage::videoChosen, this,
          [this](bool beamer) { PlayYoutube(false, beamer ? VideoTarget::Beamer : VideoTarget::Preview); });
  connect(page, &VideoPage::removeRequested, this, &VideoListController::RemoveChosenVideos);
  connect(main_.Preview(), &PreviewPane::commandTriggered, this, &VideoListController::OnPreviewCommand);
}

// A download that still runs is left to finish by itself: the window does not wait an hour for it to
// close. Its entry keeps the flag "1" it was given at the start.
VideoListController::~VideoListController() = default;

VideoListController* VideoListController::Of(const QObject& window) {
  return window.findChild<VideoListController*>(QStringLiteral("videoListController"), Qt::FindDirectChildrenOnly);
}

VideoPage* VideoListController::Page() const {
  return media_.Panes().videos;
}

std::string VideoListController::EntryLine(const QString& id) const {
  const std::optional<std::size_t> position = FindVideoById(state_.videoList, ToCp1252(id));
  return position ? state_.videoList[*position] : std::string();
}

QString VideoListController::ChosenId() const {
  QTreeWidgetItem* item = Page()->VideoList()->currentItem();
  return item ? item->text(0) : QString();
}

void VideoListController::OnPageCommand(VideoPageCommand command) {
  switch (command) {
    case VideoPageCommand::OpenVideoSite:
      media_.Panes().show(MediaPane::VideoSite);
      site_->LoadRemote(
          QUrl(QString::fromLatin1(kVideoSiteAddress.data(), static_cast<int>(kVideoSiteAddress.size()))));
      break;
    case VideoPageCommand::SwapTitleAndArtist: {
      const QString title = Page()->TitleField()->text();
      Page()->TitleField()->setText(Page()->ArtistField()->text());
      Page()->ArtistField()->setText(title);
      break;
    }
    case VideoPageCommand::SaveVideoToList:
      AddShownVideo();
      break;
    case VideoPageCommand::DownloadVideo:
      DownloadChosenVideo();
      break;
    case VideoPageCommand::SendVideoToBeamer:
      PlayYoutube(false, VideoTarget::Beamer);
      break;
  }
}

void VideoListController::OnPreviewCommand(PreviewCommand command) {
  switch (command) {
    case PreviewCommand::VideoInBackground:
      PlayYoutube(true, VideoTarget::Preview);
      break;
    case PreviewCommand::VideoOnBeamer:
      PlayYoutube(true, VideoTarget::Beamer);
      break;
    case PreviewCommand::VideoStop:
      site_->setHtml(QString());
      media_.StopVideos();
      break;
    default:
      break;
  }
}

void VideoListController::PlayYoutube(bool linkedSong, VideoTarget target) {
  QString id;
  const std::string_view link = RecordField(main_.Preview()->ShownRecord(), 13);
  if (linkedSong && LeadingNumber(link) != 0) {
    id = FromCp1252(link);
  } else {
    id = ChosenId();
  }
  const std::string line = EntryLine(id);
  if (line.empty()) return;
  const std::string address(RecordField(line, 3));
  const std::filesystem::path wmv = VideoFile(state_.dataFiles, ToCp1252(id), ".wmv");
  std::error_code error;
  if (std::filesystem::is_regular_file(wmv, error)) {
    if (target == VideoTarget::Preview) {
      site_->setHtml(QString::fromStdString(LocalVideoNoticeHtml()));
      media_.PlayVideo(LocalText(wmv), VideoTarget::Preview, false);
    } else {
      media_.PlayVideo(LocalText(wmv), VideoTarget::Beamer, true);
    }
    return;
  }
  if (!services_.isOnline()) {
    messages_.Show(main_.HostWindow(), MessageIcon::Information, Tr("Youtube Video", state_),
                   Tr("Es besteht keine Internetverbindung!", state_));
    return;
  }
  if (target == VideoTarget::Preview) {
    media_.PreviewVideo()->Stop();
    media_.Panes().show(MediaPane::VideoSite);
    if (!site_->LoadRemote(QUrl(FromCp1252(WatchAddress(address))))) site_->setHtml(QString());
    return;
  }
  PresentationWindow* window = media_.Panes().beamer ? media_.Panes().beamer() : nullptr;
  if (!window) return;
  media_.ShowBeamerPage(
      QString::fromStdString(EmbeddedPlayerPage(EntryVideoId(address), window->width(), window->height())),
      QString::fromLatin1(kVideoSiteAddress.data(), static_cast<int>(kVideoSiteAddress.size())));
}

void VideoListController::TakeShownVideo(const QString& address, const QString& pageTitle) {
  const std::string text = ToCp1252(address);
  const std::string videoId = VideoIdOf(text);
  if (videoId.empty()) return;
  const VideoTitle split = SplitVideoPageTitle(ToCp1252(pageTitle));
  Page()->UrlField()->setText(address);
  Page()->ArtistField()->setText(FromCp1252(split.artist));
  Page()->TitleField()->setText(FromCp1252(split.title));
  services_.fetchPicture(FromCp1252(ThumbnailAddress(videoId)), state_.dataFiles.youtubeImage);
}

void VideoListController::AddShownVideo() {
  VideoEntry entry;
  entry.address = ToCp1252(Page()->UrlField()->text().trimmed());
  entry.title = ToCp1252(Page()->TitleField()->text());
  entry.artist = ToCp1252(Page()->ArtistField()->text());
  if (entry.address.empty()) return;
  const std::string id = NextVideoId(state_.dataFiles, state_.videoList);
  if (id.empty()) {
    messages_.Show(main_.HostWindow(), MessageIcon::Warning, Tr("Fehler", state_),
                   LocalText(state_.dataFiles.youtubeIds));
    return;
  }
  state_.videoList.push_back(VideoEntryLine(id, FormatTimestamp(CurrentTimeValue()), entry));
  std::error_code error;
  if (std::filesystem::is_regular_file(state_.dataFiles.youtubeImage, error)) {
    std::filesystem::copy_file(state_.dataFiles.youtubeImage, VideoFile(state_.dataFiles, id, ".jpg"),
                               std::filesystem::copy_options::overwrite_existing, error);
  }
  SaveAndShow();
}

void VideoListController::SaveAndShow() {
  const WriteResult saved = SaveVideoList(state_.dataFiles, state_.videoList);
  if (!saved) std::fprintf(stderr, "psalmora: %s\n", saved.error.c_str());
  Page()->FillVideoList(state_.videoList, &state_.dataFiles);
  if (!downloadingId_.isEmpty()) Page()->SetRowState(downloadingId_, QStringLiteral("busy"));
}

void VideoListController::SetFlag(const QString& id, const char* flag) {
  const std::optional<std::size_t> position = FindVideoById(state_.videoList, ToCp1252(id));
  if (!position) return;
  state_.videoList[*position] = WithDownloadFlag(state_.videoList[*position], flag);
  const WriteResult saved = SaveVideoList(state_.dataFiles, state_.videoList);
  if (!saved) std::fprintf(stderr, "psalmora: %s\n", saved.error.c_str());
}

void VideoListController::RemoveChosenVideos() {
  std::vector<std::string> ids;
  for (const QString& id : Page()->ChosenIds()) {
    // The running download's file is still being written.
    if (id != downloadingId_) ids.push_back(ToCp1252(id));
  }
  if (ids.empty()) return;
  media_.PreviewVideo()->Stop();
  RemoveVideoEntries(state_.dataFiles, state_.videoList, ids);
  SaveAndShow();
}

void VideoListController::DownloadChosenVideo() {
  const QString id = ChosenId();
  const std::string line = EntryLine(id);
  // Entry ids are numbers; another id of a damaged list must not name a file outside "youtube".
  if (line.empty() || !AllDigits(ToCp1252(id))) return;
  if (worker_) {
    messages_.Show(main_.HostWindow(), MessageIcon::Information, Tr("Youtube Video", state_),
                   Tr("Es läuft bereits ein Download.", state_));
    return;
  }
  // Step 1 on this thread: the flag "1", the busy row, the file.
  downloadingId_ = id;
  SetFlag(id, "1");
  if (QTreeWidgetItem* row = Page()->SetRowState(id, QStringLiteral("busy"))) Page()->VideoList()->setCurrentItem(row);
  const std::string address = WatchAddress(RecordField(line, 3));
  const std::filesystem::path target = VideoFile(state_.dataFiles, ToCp1252(id), ".mp4");
  const QPointer<VideoListController> self(this);
  worker_ = QThread::create([self, id, address, target, tools = services_.tools,
                             downloader = state_.settings.videodownloader, program = state_.programFolder] {
    const VideoDownload result = DownloadVideo(tools, downloader, program, address, target);
    std::string error = result.error;
    if (result.downloaded && !result.conversion.converted) error = result.conversion.error;
    QMetaObject::invokeMethod(
        qApp,
        [self, id, ok = result.downloaded, error] {
          if (self) self->FinishDownload(id, ok, QString::fromStdString(error));
        },
        Qt::QueuedConnection);
  });
  connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
  worker_->start();
}

void VideoListController::FinishDownload(const QString& id, bool downloaded, const QString& error) {
  worker_->wait();
  worker_ = nullptr;
  downloadingId_.clear();
  if (!error.isEmpty()) std::fprintf(stderr, "psalmora: video %s: %s\n", qPrintable(id), qPrintable(error));
  SetFlag(id, downloaded ? "0" : "1");
  Page()->SetRowState(id, downloaded ? QStringLiteral("downloaded") : QStringLiteral("failed"));
  emit downloadFinished(id, downloaded);
}

}  // namespace psalmora
