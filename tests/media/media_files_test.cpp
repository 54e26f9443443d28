#include "media/media_files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

TEST(MediaFilesTest, KindIsTheFirstTypeFieldHoldingTheExtension) {
  const FileTypes defaults;
  FileTypes custom;
  custom.ppt = "PPT, odp";
  custom.film = "mp4, avi";
  custom.music = "mp3, MP4";
  struct Case {
    const char* file;
    const FileTypes& types;
    MediaKind kind;
  };
  const Case cases[] = {
      {"/m/Predigt.PPT", defaults, MediaKind::kPresentation},
      {"/m/Predigt.pps", defaults, MediaKind::kPresentation},
      {"/m/Intro.wmv", defaults, MediaKind::kVideo},
      {"/m/Intro.Mpg", defaults, MediaKind::kVideo},
      {"/m/Lied.mp3", defaults, MediaKind::kMusic},
      {"/m/Bild.jpg", defaults, MediaKind::kNone},  // "bild" is not the browser's
      {"/m/ohne", defaults, MediaKind::kNone},
      {"/m/punkt.", defaults, MediaKind::kNone},
      {"/m.wmv/ohne", defaults, MediaKind::kNone},  // a folder's dot is no extension
      // Looked for anywhere in the field's text: "p" is inside "ppt, pps".
      {"/m/a.p", defaults, MediaKind::kPresentation},
      {"/m/a.v", defaults, MediaKind::kVideo},
      {"/m/a.odp", custom, MediaKind::kPresentation},
      // "ppt" before "film" before "music".
      {"/m/a.mp4", custom, MediaKind::kVideo},
      {"/m/a.mp3", custom, MediaKind::kMusic},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyMediaFile(c.file, c.types), c.kind) << c.file;
}

TEST(MediaFilesTest, FitVideoScalesByTheSmallerFactorAndCentres) {
  struct Case {
    int a, b, w, h;
    FitRect fit;
  };
  const Case cases[] = {
      {1024, 768, 320, 240, {0, 0, 1024, 768}},      // same shape
      {1920, 1080, 640, 480, {240, 0, 1440, 1080}},  // 4:3 on 16:9: bars left and right
      {800, 600, 1280, 720, {0, 75, 800, 450}},      // 16:9 on 4:3: bars above and below
      {333, 200, 100, 100, {66, 0, 200, 200}},       // whole pixels, truncated
      {500, 400, 0, 0, {0, 0, 500, 400}},            // no size known yet
  };
  for (const Case& c : cases) {
    const FitRect fit = FitVideo(c.a, c.b, c.w, c.h);
    EXPECT_EQ(fit.x, c.fit.x) << c.a << "x" << c.b << " " << c.w << "x" << c.h;
    EXPECT_EQ(fit.y, c.fit.y);
    EXPECT_EQ(fit.width, c.fit.width);
    EXPECT_EQ(fit.height, c.fit.height);
  }
}

TEST(MediaFilesTest, ThumbnailHeightDividesByWholeHundreds) {
  EXPECT_EQ(SlideThumbnailHeight(1280, 720), 60);  // 720 / 12
  EXPECT_EQ(SlideThumbnailHeight(960, 720), 80);   // 720 / 9
  EXPECT_EQ(SlideThumbnailHeight(100, 75), 75);
  EXPECT_EQ(SlideThumbnailHeight(50, 40), 80);  // narrower than 100: in proportion, no division by 0
  EXPECT_EQ(SlideThumbnailHeight(0, 40), 0);
}

TEST(MediaFilesTest, SlidePicturesAreCountedAndDeletedUpToTheFirstGap) {
  TempDir dir;
  for (int slide : {1, 2, 3, 5}) WriteFileBytes(SlidePicture(dir.path(), slide), "png");
  EXPECT_EQ(SlidePicture(dir.path(), 3).filename(), "Folie3.PNG");
  EXPECT_EQ(CountSlidePictures(dir.path()), 3);
  DeleteSlidePictures(dir.path(), 2);
  EXPECT_EQ(CountSlidePictures(dir.path()), 0);
  // Beyond the count and after a gap: left alone.
  EXPECT_TRUE(std::filesystem::exists(SlidePicture(dir.path(), 5)));
}

TEST(MediaFilesTest, SlidePagesQuoteThePictureAddress) {
  EXPECT_EQ(SlideViewHtml(480, "/daten/power point/Folie2.PNG"),
            "<div align=center><img width=480 src='file:///daten/power%20point/Folie2.PNG' ></div>");
  // A quotation mark in the folder cannot end the attribute.
  EXPECT_EQ(FileAddress("/a'b/<c>"), "file:///a%27b/%3Cc%3E");
  EXPECT_EQ(BeamerSlideHtml(1920, 1080, 960, 720, "/f/Folie1.PNG"),
            "<body bgcolor='#000000' scroll='no' style='margin:0;overflow:hidden'><img "
            "style='position:absolute;left:240px;top:0px' width=1440 height=1080 src='file:///f/Folie1.PNG' >");
}

}  // namespace
}  // namespace psalmora
