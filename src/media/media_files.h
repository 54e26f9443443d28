// The media browser's rules: which files are slide shows, videos or music (by the type fields of
// "dateitypen"), how a movie is fitted into its area, and the slide pictures of the slide folder with
// their thumbnails and the slide view's page.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace psalmora {

enum class MediaKind { kNone, kPresentation, kVideo, kMusic };

// The lowercased extension of the file name (after its last ".", the folder's dots do not count) looked
// for anywhere in the lowercased text of the type fields: "ppt" first, then "film", then "music". A file
// without an extension is none of them.
MediaKind ClassifyMediaFile(std::string_view fileName, const FileTypes& types);

struct FitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// `FitVideo`: f = min(A / w, B / h); the movie is shown w·f by h·f at ((A - w·f) / 2, (B - h·f) / 2),
// whole pixels. A movie without a size yet fills the whole area.
FitRect FitVideo(int areaWidth, int areaHeight, int movieWidth, int movieHeight);

// Thumbnails are 100 pixels wide and h / (w / 100) high (whole-number division). Pictures narrower than
// 100 pixels, where that divisor is 0, are scaled in proportion instead.
inline constexpr int kSlideThumbnailWidth = 100;
int SlideThumbnailHeight(int pictureWidth, int pictureHeight);

// "Folie" + n + ".PNG" in the slide folder.
std::filesystem::path SlidePicture(const std::filesystem::path& slideFolder, int slide);
// How many pictures Folie1.PNG, Folie2.PNG, ... follow one another without a gap.
int CountSlidePictures(const std::filesystem::path& slideFolder);
// Deletes Folie1.PNG ... Folie<count>.PNG and any later ones that follow without a gap.
void DeleteSlidePictures(const std::filesystem::path& slideFolder, int count);

// A "file://" address of a local path, every byte but the unreserved ones and "/" percent-encoded.
std::string FileAddress(const std::filesystem::path& path);

// `ShowSlide`'s page: "<div align=center><img width=" + width + " src='" + picture + "' ></div>".
std::string SlideViewHtml(int width, const std::filesystem::path& picture);
// The slide on the beamer: black, the picture fitted into the monitor and centred.
std::string BeamerSlideHtml(int monitorWidth, int monitorHeight, int pictureWidth, int pictureHeight,
                            const std::filesystem::path& picture);

}  // namespace psalmora
