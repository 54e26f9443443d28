// Addresses and pages of the video site.
#include "media/video_site.h"

#include "core/record_fields.h"

namespace psalmora {
namespace {

bool IsIdCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

std::string IdOnly(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (IsIdCharacter(c)) out += c;
  }
  return out;
}

bool IsWebAddress(std::string_view address) {
  return address.starts_with("http://") || address.starts_with("https://");
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

std::string VideoIdOf(std::string_view address) {
  const std::size_t query = address.find('?');
  if (query == std::string_view::npos) return {};
  std::string_view rest = address.substr(query + 1);
  rest = rest.substr(0, rest.find('#'));
  for (const std::string& pair : SplitAt(rest, '&')) {
    if (pair.starts_with("v=")) return pair.substr(2);
  }
  return {};
}

std::string EntryVideoId(std::string_view address) {
  std::string id = VideoIdOf(address);
  if (id.empty() && !IsWebAddress(address)) id = std::string(address);
  return id;
}

std::string WatchAddress(std::string_view address) {
  if (IsWebAddress(address)) return std::string(address);
  return std::string(kVideoSiteAddress) + "watch?v=" + IdOnly(EntryVideoId(address));
}

std::string EmbedAddress(std::string_view videoId) {
  return std::string(kVideoSiteAddress) + "embed/" + IdOnly(videoId) + "?autoplay=1&rel=0&fs=0&hl=de";
}

std::string EmbeddedPlayerPage(std::string_view videoId, int monitorWidth, int monitorHeight) {
  return "<body text='#FFFFFF' bgcolor='#000000' topmargin='0' scroll='no' style='margin:0;overflow:hidden'>"
         "<iframe width='" +
         std::to_string(monitorWidth) + "' height='" + std::to_string(monitorHeight) + "' src='" +
         EmbedAddress(videoId) + "' frameborder='0' allow='autoplay; encrypted-media' allowfullscreen></iframe>";
}

std::string LocalVideoNoticeHtml() {
  return "<div align=center><h2><br><br>Youtube Videos...</h2></div>";
}

std::string ThumbnailAddress(std::string_view videoId) {
  return "https://i.ytimg.com/vi/" + IdOnly(videoId) + "/default.jpg";
}

VideoTitle SplitVideoPageTitle(std::string_view pageTitle) {
  std::string text(pageTitle);
  constexpr std::string_view kSiteSuffix = " - YouTube";
  if (text.ends_with(kSiteSuffix)) text = "YouTube - " + text.substr(0, text.size() - kSiteSuffix.size());
  // The dash that comes first in the title; where two start at the same place, the earlier in the list.
  std::size_t first = std::string::npos;
  std::string_view firstDash;
  for (const std::string_view dash : {" - ", "- ", " -", "-"}) {
    const std::size_t at = text.find(dash);
    if (at < first) {
      first = at;
      firstDash = dash;
    }
  }
  if (first != std::string::npos) text.replace(first, firstDash.size(), "|");
  ReplaceAll(text, " - ", "|");
  return {std::string(PartAt(text, 2)), std::string(PartAt(text, 3))};
}

}  // namespace psalmora
