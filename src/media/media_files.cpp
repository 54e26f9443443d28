// File types, fitting and slide pictures of the media pages.
#include "media/media_files.h"

#include <algorithm>
#include <system_error>

namespace psalmora {
namespace {

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool Listed(const std::string& extension, std::string_view field) {
  return LowerAscii(field).find(extension) != std::string::npos;
}

}  // namespace

MediaKind ClassifyMediaFile(std::string_view fileName, const FileTypes& types) {
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return MediaKind::kNone;
  const std::string extension = LowerAscii(name.substr(dot + 1));
  if (Listed(extension, types.ppt)) return MediaKind::kPresentation;
  if (Listed(extension, types.film)) return MediaKind::kVideo;
  if (Listed(extension, types.music)) return MediaKind::kMusic;
  return MediaKind::kNone;
}

FitRect FitVideo(int areaWidth, int areaHeight, int movieWidth, int movieHeight) {
  if (movieWidth <= 0 || movieHeight <= 0) return {0, 0, std::max(areaWidth, 0), std::max(areaHeight, 0)};
  const double f = std::min(static_cast<double>(areaWidth) / movieWidth, static_cast<double>(areaHeight) / movieHeight);
  const double width = movieWidth * f;
  const double height = movieHeight * f;
  return {static_cast<int>((areaWidth - width) / 2), static_cast<int>((areaHeight - height) / 2),
          static_cast<int>(width), static_cast<int>(height)};
}

int SlideThumbnailHeight(int pictureWidth, int pictureHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return 0;
  const int divisor = pictureWidth / kSlideThumbnailWidth;
  if (divisor == 0)
    return static_cast<int>(static_cast<long long>(pictureHeight) * kSlideThumbnailWidth / pictureWidth);
  return pictureHeight / divisor;
}

std::filesystem::path SlidePicture(const std::filesystem::path& slideFolder, int slide) {
  return slideFolder / ("Folie" + std::to_string(slide) + ".PNG");
}

int CountSlidePictures(const std::filesystem::path& slideFolder) {
  int count = 0;
  std::error_code error;
  while (std::filesystem::is_regular_file(SlidePicture(slideFolder, count + 1), error)) ++count;
  return count;
}

void DeleteSlidePictures(const std::filesystem::path& slideFolder, int count) {
  std::error_code error;
  for (int slide = 1;; ++slide) {
    const std::filesystem::path picture = SlidePicture(slideFolder, slide);
    if (slide > count && !std::filesystem::exists(picture, error)) break;
    std::filesystem::remove(picture, error);
  }
}

std::string FileAddress(const std::filesystem::path& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "file://";
  for (const unsigned char c : path.string()) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string SlideViewHtml(int width, const std::filesystem::path& picture) {
  return "<div align=center><img width=" + std::to_string(width) + " src='" + FileAddress(picture) + "' ></div>";
}

std::string BeamerSlideHtml(int monitorWidth, int monitorHeight, int pictureWidth, int pictureHeight,
                            const std::filesystem::path& picture) {
  const FitRect fit = FitVideo(monitorWidth, monitorHeight, pictureWidth, pictureHeight);
  return "<body bgcolor='#000000' scroll='no' style='margin:0;overflow:hidden'><img style='position:absolute;left:" +
         std::to_string(fit.x) + "px;top:" + std::to_string(fit.y) + "px' width=" + std::to_string(fit.width) +
         " height=" + std::to_string(fit.height) + " src='" + FileAddress(picture) + "' >";
}

}  // namespace psalmora
