// The media room on the offscreen platform with two screens: a movie made with ffmpeg at test time
// plays halted in the preview and running on the beamer's media layer until a song is sent; a file
// that cannot be played; the slides of a presentation made at test time; the video list's download
// through a stand-in downloader, and its other commands.
#include <QFileSystemModel>
#include <QListView>
#include <QListWidget>
#include <QMediaPlayer>
#include <QTreeWidget>
#include <QVideoWidget>
#include <cstdlib>

#include "app/media_room.h"
#include "app/right_column.h"
#include "media/media_files.h"
#include "media/ui/media_controller.h"
#include "media/ui/media_pages.h"
#include "media/ui/slide_pane.h"
#include "media/ui/video_area.h"
#include "media/ui/video_list_controller.h"
#include "media/video_list.h"
#include "presentation_fixture.h"

using namespace psalmora;
using namespace psalmora::presentationtest;

namespace {

bool HasProgram(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A two-second test picture, 320 x 240, with sound.
bool MakeMovie(const QString& file) {
  const QString command = QStringLiteral(
                              "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
                              "sine=frequency=440 -t 2 -c:v mpeg4 -c:a mp2 '%1' </dev/null")
                              .arg(file);
  return std::system(command.toLocal8Bit().constData()) == 0;
}

void WriteScript(const QString& path, const QByteArray& body) {
  uitest::WriteBytes(path, "#!/bin/sh\n" + body);
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QByteArray ThreeSlides() {
  QByteArray pages;
  for (int slide = 1; slide <= 3; ++slide) {
    pages += "<draw:page draw:name=\"s" + QByteArray::number(slide) +
             "\"><draw:frame svg:x=\"2cm\" svg:y=\"2cm\" svg:width=\"20cm\" svg:height=\"5cm\"><draw:text-box>"
             "<text:p>Folie " +
             QByteArray::number(slide) + "</text:p></draw:text-box></draw:frame></draw:page>";
  }
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.presentation"><office:body><office:presentation>)" +
         pages + "</office:presentation></office:body></office:document>";
}

struct MediaFixture : Fixture {
  MediaController* media = nullptr;
  VideoListController* videos = nullptr;
  bool online = true;
  QStringList fetched;  // pictures asked for on the web

  MediaFixture() : Fixture(0) {
    VideoListServices services;
    services.isOnline = [this] { return online; };
    services.fetchPicture = [this](const QString& address, const std::filesystem::path& target) {
      fetched << address;
      uitest::WriteBytes(QString::fromStdString(target.string()), "jpg");
    };
    CreateMediaControllers(state, *window, messages, services);
    media = MediaController::Of(*window);
    videos = VideoListController::Of(*window);
    presentation->OpenPresentation(1);
  }
  QString Path(const char* name) const { return temp.path() + "/" + name; }
  FilePage* Files() const { return window->Left()->Files(); }
  VideoPage* Videos() const { return window->Left()->Videos(); }
  // Selects the file in the browser once the folder is read, as a click or the arrow keys would.
  bool ChooseFile(const QString& file) {
    Files()->ShowFolder(QFileInfo(file).absolutePath());
    QListView* browser = Files()->FileBrowser();
    auto* model = static_cast<QFileSystemModel*>(browser->model());
    QModelIndex index;
    const bool found = QTest::qWaitFor(
        [&] {
          index = model->index(file);
          return index.isValid() && browser->visualRect(index).isValid();
        },
        5000);
    if (!found) return false;
    browser->setCurrentIndex(index);
    return true;
  }
  void ClickChosenFile() {
    QListView* browser = Files()->FileBrowser();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->visualRect(browser->currentIndex()).center());
  }
};

}  // namespace

class MediaTest : public QObject {
  Q_OBJECT

 private slots:
  void MovieHaltsInPreviewPlaysOnBeamerAndStopsForASong() {
    if (!HasProgram("ffmpeg")) QSKIP("ffmpeg is not installed");
    MediaFixture f;
    const QString movie = f.Path("Ansage.avi");
    QVERIFY(MakeMovie(movie));
    QVERIFY(f.ChooseFile(movie));

    // A click: the preview's video pane, the first picture standing.
    f.ClickChosenFile();
    VideoArea* preview = f.media->PreviewVideo();
    QCOMPARE(f.window->Right()->ShownPane(), RightPane::MediaVideo);
    QTRY_VERIFY_WITH_TIMEOUT(preview->FramesShown() >= 1, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(preview->Player()->playbackState(), QMediaPlayer::PausedState, 5000);
    QCOMPARE(preview->MovieSize(), QSize(320, 240));
    const FitRect fit = FitVideo(preview->width(), preview->height(), 320, 240);
    QCOMPARE(preview->Picture()->geometry(), QRect(fit.x, fit.y, fit.width, fit.height));

    // Enter: the beamer's media layer shows it playing, fitted into the 1024 x 768 monitor.
    QTest::keyClick(f.Files()->FileBrowser(), Qt::Key_Return);
    VideoArea* beamer = f.media->BeamerVideo();
    QVERIFY(beamer);
    QTRY_VERIFY_WITH_TIMEOUT(beamer->FramesShown() >= 5, 15000);
    QVERIFY(beamer->IsPlaying());
    QVERIFY(f.Beamer()->MediaLayer()->isVisible());
    QVERIFY(beamer->isVisible());
    QCOMPARE(beamer->size(), QSize(1024, 768));
    QCOMPARE(beamer->Picture()->geometry(), QRect(0, 0, 1024, 768));

    // A song sent: the movie stops and the song layer is in front again.
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    QCOMPARE(beamer->Player()->playbackState(), QMediaPlayer::StoppedState);
    QVERIFY(!f.Beamer()->MediaLayer()->isVisible());
    QVERIFY(!beamer->isVisible());

    // Enter again: the same movie from its beginning.
    QTest::keyClick(f.Files()->FileBrowser(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(beamer->FramesShown() >= 1, 15000);
    QVERIFY(beamer->IsPlaying());
    QVERIFY(beamer->Player()->position() < 1500);
    QVERIFY(f.messages.shown.empty());
  }

  void MusicPlaysInThePreview() {
    if (!HasProgram("ffmpeg")) QSKIP("ffmpeg is not installed");
    MediaFixture f;
    const QString music = f.Path("Lied.wav");
    const QString make =
        QStringLiteral("ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440 -t 3 '%1' </dev/null").arg(music);
    QVERIFY(std::system(make.toLocal8Bit().constData()) == 0);
    f.media->ShowMediaFile(music, false);
    QCOMPARE(f.window->Right()->ShownPane(), RightPane::MediaVideo);
    // Not halted like a movie: it goes on.
    QTRY_VERIFY_WITH_TIMEOUT(f.media->PreviewVideo()->Player()->position() > 500, 15000);
    QVERIFY(f.media->PreviewVideo()->IsPlaying());
    QVERIFY(f.messages.shown.empty());
  }

  void UnplayableFileIsToldAndLeavesTheAreaBlack() {
    MediaFixture f;
    const QString broken = f.Path("kaputt.wmv");
    uitest::WriteBytes(broken, "kein Film");
    // Choosing it lets the beamer read it ahead, which says nothing yet.
    QVERIFY(f.ChooseFile(broken));
    QTest::qWait(1500);
    QVERIFY(f.messages.shown.empty());
    f.ClickChosenFile();
    QTRY_VERIFY_WITH_TIMEOUT(!f.messages.shown.empty(), 15000);
    QCOMPARE(f.messages.shown[0].title, QStringLiteral("Fehler"));
    QCOMPARE(f.messages.shown[0].text, QStringLiteral("WMV Video konnte nicht geladen werden..."));
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Information);
    QVERIFY(!f.media->PreviewVideo()->Picture()->isVisible());
    // On the beamer the same, told once more.
    QTest::keyClick(f.Files()->FileBrowser(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(f.messages.shown.size(), std::size_t{2}, 15000);
    QVERIFY(!f.media->BeamerVideo()->Picture()->isVisible());
  }

  void PresentationBecomesSlidesInTheViewAndOnTheBeamer() {
    if (!HasProgram("soffice") || !HasProgram("pdftoppm")) QSKIP("LibreOffice or poppler is not installed");
    MediaFixture f;
    const QString file = f.Path("Predigt.fodp");
    uitest::WriteBytes(file, ThreeSlides());
    // Old slides of an earlier conversion go.
    uitest::WriteBytes(QString::fromStdString(SlidePicture(f.state.dataFiles.powerpoint, 4).string()), "alt");
    f.Files()->PptField()->setText(QStringLiteral("ppt, pps, fodp"));
    QVERIFY(f.ChooseFile(file));
    QSignalSpy loaded(f.media, &MediaController::slidesLoaded);
    QTest::keyClick(f.Files()->FileBrowser(), Qt::Key_Return);
    QCOMPARE(f.window->Right()->ShownPane(), RightPane::Slides);
    QVERIFY(f.media->Converting());
    QVERIFY(loaded.wait(120000));
    QCOMPARE(loaded[0][0].toInt(), 3);
    QVERIFY(!std::filesystem::exists(SlidePicture(f.state.dataFiles.powerpoint, 4)));

    QListWidget* thumbnails = f.media->Slides()->Thumbnails();
    QCOMPARE(thumbnails->count(), 3);
    QCOMPARE(thumbnails->item(1)->text(), QStringLiteral("2"));
    QCOMPARE(thumbnails->iconSize().width(), 100);
    const QImage picture(QString::fromStdString(SlidePicture(f.state.dataFiles.powerpoint, 1).string()));
    QCOMPARE(thumbnails->iconSize().height(), SlideThumbnailHeight(picture.width(), picture.height()));

    PageView* view = f.media->Slides()->SlideView();
    QTRY_VERIFY_WITH_TIMEOUT(PageHtml(view).contains(QStringLiteral("Folie1.PNG")), 10000);
    QVERIFY(PageHtml(view).contains(QStringLiteral("width=\"%1\"").arg(view->width())));
    // Enter on the file: slide 1 on the beamer too.
    QVERIFY(f.Beamer()->MediaLayer()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(PageHtml(f.Beamer()->MediaLayer()).contains(QStringLiteral("Folie1.PNG")), 10000);

    // Choosing a thumbnail shows that slide; Enter in the list sends it to the beamer.
    thumbnails->setCurrentRow(1);
    QTRY_VERIFY_WITH_TIMEOUT(PageHtml(view).contains(QStringLiteral("Folie2.PNG")), 10000);
    QTest::keyClick(thumbnails, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(PageHtml(f.Beamer()->MediaLayer()).contains(QStringLiteral("Folie2.PNG")), 10000);

    QSignalSpy start(f.media, &MediaController::presentationStartRequested);
    f.media->Slides()->StartButton()->click();
    QCOMPARE(start.count(), 1);
    QCOMPARE(start[0][0].toString(), file);
    QCOMPARE(start[0][1].toInt(), 1);
  }

  void DownloadRunsTheDownloaderAndMarksTheRow() {
    MediaFixture f;
    uitest::WriteBytes(QString::fromStdString(f.state.dataFiles.youtubeList.string()),
                       "1\t01.01.2024-10:00\thttps://www.youtube.com/watch?v=abc\tChor\tAnsage\t\t\r\n");
    f.state.videoList = ReadVideoList(f.state.dataFiles);
    f.Videos()->FillVideoList(f.state.videoList, &f.state.dataFiles);
    QTreeWidget* list = f.Videos()->VideoList();
    QCOMPARE(list->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("not downloaded"));
    list->setCurrentItem(list->topLevelItem(0));

    // A stand-in that copies a local file to the name after -o, after a moment.
    uitest::WriteBytes(f.Path("quelle.mp4"), "movie bytes");
    WriteScript(f.Path("lader"),
                "sleep 1; while [ \"$1\" != -o ]; do shift; done; cp '" + f.Path("quelle.mp4").toUtf8() + "' \"$2\"\n");
    f.state.settings.videodownloader = f.Path("lader").toStdString();
    QSignalSpy finished(f.videos, &VideoListController::downloadFinished);
    f.videos->DownloadChosenVideo();
    // While it runs: flag "1" in the file, the busy row, and no second download.
    QCOMPARE(QString::fromStdString(Fixture::ReadText(f.state.dataFiles.youtubeList)),
             QStringLiteral("1\t01.01.2024-10:00\thttps://www.youtube.com/watch?v=abc\tChor\tAnsage\t\t1\r\n"));
    QCOMPARE(list->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("busy"));
    f.videos->DownloadChosenVideo();
    QCOMPARE(f.messages.shown.size(), std::size_t{1});
    QCOMPARE(f.messages.shown[0].text, QStringLiteral("Es läuft bereits ein Download."));
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished[0][1].toBool(), true);
    QVERIFY(QString::fromStdString(Fixture::ReadText(f.state.dataFiles.youtubeList)).endsWith("\t\t0\r\n"));
    QCOMPARE(list->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("downloaded"));
    QCOMPARE(Fixture::ReadText(VideoFile(f.state.dataFiles, "1", ".mp4")), std::string("movie bytes"));

    // A failing download that leaves half a file: flag "1", the failed icon, also after a refill.
    WriteScript(f.Path("lader"), "while [ \"$1\" != -o ]; do shift; done; echo halb > \"$2\"; exit 1\n");
    f.videos->DownloadChosenVideo();
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished[1][1].toBool(), false);
    QVERIFY(QString::fromStdString(Fixture::ReadText(f.state.dataFiles.youtubeList)).endsWith("\t\t1\r\n"));
    QCOMPARE(list->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("failed"));
    f.Videos()->FillVideoList(f.state.videoList);
    QCOMPARE(list->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("failed"));

    // A damaged entry id never becomes a download target outside the video folder.
    f.state.videoList = {"../x\td\thttps://www.youtube.com/watch?v=abc\tChor\tAnsage\t\t0"};
    f.Videos()->FillVideoList(f.state.videoList);
    list->setCurrentItem(list->topLevelItem(0));
    f.videos->DownloadChosenVideo();
    QVERIFY(!f.videos->Downloading());
  }

  void SiteVideosPlayEmbeddedOnTheBeamerOrAreToldOffline() {
    MediaFixture f;
    f.state.videoList = {"1\td\thttps://www.youtube.com/watch?v=abc\tChor\tAnsage\t\t0"};
    f.Videos()->FillVideoList(f.state.videoList, &f.state.dataFiles);
    QTreeWidget* list = f.Videos()->VideoList();
    list->setCurrentItem(list->topLevelItem(0));

    f.online = false;
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(f.messages.shown.size(), std::size_t{1});
    QCOMPARE(f.messages.shown[0].title, QStringLiteral("YouTube Video"));
    QCOMPARE(f.messages.shown[0].text, QStringLiteral("Es besteht keine Internetverbindung!"));

    // The song's linked entry, on the beamer: the site's embedded player in an iframe, not Flash.
    f.online = true;
    f.window->Preview()->SetShownRecord("1\tx\tZion\t\t\t\t\t\t\t\t\t\t1\t\t\t120\t\t\t\t\t\t");
    QVERIFY(f.window->Preview()->Action(PreviewCommand::VideoOnBeamer)->isEnabled());
    f.window->Preview()->Action(PreviewCommand::VideoOnBeamer)->trigger();
    QVERIFY(f.Beamer()->MediaLayer()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(
        PageHtml(f.Beamer()->MediaLayer()).contains(QStringLiteral("youtube.com/embed/abc?autoplay=1")), 10000);
    QVERIFY(!PageHtml(f.Beamer()->MediaLayer()).contains(QStringLiteral("shockwave")));
    // "Video anhalten": the beamer's media layer black, the site's pane empty.
    f.window->Preview()->Action(PreviewCommand::VideoStop)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!PageHtml(f.Beamer()->MediaLayer()).contains(QStringLiteral("iframe")), 10000);
    QVERIFY(f.Beamer()->MediaLayer()->isVisible());

    // A downloaded and converted entry plays locally, halted in the preview.
    if (HasProgram("ffmpeg")) {
      std::filesystem::create_directories(f.state.dataFiles.youtubeList.parent_path());
      QVERIFY(MakeMovie(QString::fromStdString(VideoFile(f.state.dataFiles, "1", ".wmv").string()) + ".avi"));
      std::filesystem::rename(VideoFile(f.state.dataFiles, "1", ".wmv").string() + ".avi",
                              VideoFile(f.state.dataFiles, "1", ".wmv"));
      f.online = false;
      f.window->Preview()->Action(PreviewCommand::VideoInBackground)->trigger();
      QTRY_VERIFY_WITH_TIMEOUT(f.media->PreviewVideo()->FramesShown() >= 1, 15000);
      QCOMPARE(f.messages.shown.size(), std::size_t{1});
    }
  }

  void ShownVideoIsAddedAndChosenEntriesRemovedWithTheirFiles() {
    MediaFixture f;
    f.videos->TakeShownVideo(QStringLiteral("https://www.youtube.com/watch?v=xyz"),
                             QStringLiteral("Chor - Ansage - YouTube"));
    QCOMPARE(f.Videos()->ArtistField()->text(), QStringLiteral("Chor"));
    QCOMPARE(f.Videos()->TitleField()->text(), QStringLiteral("Ansage"));
    QCOMPARE(f.fetched, QStringList{QStringLiteral("https://i.ytimg.com/vi/xyz/default.jpg")});
    f.Videos()->Button(VideoPageCommand::SwapTitleAndArtist)->click();
    QCOMPARE(f.Videos()->ArtistField()->text(), QStringLiteral("Ansage"));
    f.Videos()->Button(VideoPageCommand::SaveVideoToList)->click();
    QCOMPARE(f.state.videoList.size(), std::size_t{1});
    const std::string line = Fixture::ReadText(f.state.dataFiles.youtubeList);
    QVERIFY(QString::fromStdString(line).startsWith("1\t"));
    QVERIFY(QString::fromStdString(line).endsWith("\thttps://www.youtube.com/watch?v=xyz\tAnsage\tChor\t\t\r\n"));
    QCOMPARE(Fixture::ReadText(VideoFile(f.state.dataFiles, "1", ".jpg")), std::string("jpg"));
    QTreeWidget* list = f.Videos()->VideoList();
    QCOMPARE(list->topLevelItemCount(), 1);

    uitest::WriteBytes(QString::fromStdString(VideoFile(f.state.dataFiles, "1", ".mp4").string()), "mp4");
    list->topLevelItem(0)->setSelected(true);
    emit f.Videos()->removeRequested();
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(Fixture::ReadText(f.state.dataFiles.youtubeList), std::string());
    QVERIFY(!std::filesystem::exists(VideoFile(f.state.dataFiles, "1", ".mp4")));
    QVERIFY(!std::filesystem::exists(VideoFile(f.state.dataFiles, "1", ".jpg")));
  }
};

PSALMORA_PRESENTATION_TEST_MAIN(MediaTest)
#include "media_test.moc"
