// The video site's side of the video list: the video id of an address, the watch page, the embedded
// player page the beamer shows, and the artist and title read from a video page's title.
#pragma once

#include <string>
#include <string_view>

namespace psalmora {

inline constexpr std::string_view kVideoSiteAddress = "https://www.youtube.com/";

// The value of the query key "v" of the address ("" when it has none).
std::string VideoIdOf(std::string_view address);

// The id of an entry's address: its "v", or the address itself when that is a bare id.
std::string EntryVideoId(std::string_view address);

// The page the preview loads: an address that is already a full web address unchanged, otherwise the
// site's "/watch?v=" + id.
std::string WatchAddress(std::string_view address);

// The site's embedded player for the id, starting at once; characters an id never holds are dropped.
std::string EmbedAddress(std::string_view videoId);

// The beamer's page for a video the site plays: black, the embedded player filling the monitor. Written
// without line ends.
std::string EmbeddedPlayerPage(std::string_view videoId, int monitorWidth, int monitorHeight);

// The preview panel's page while a local copy plays.
std::string LocalVideoNoticeHtml();

// The site's thumbnail of the id (path "/vi/" + id + "/default.jpg").
std::string ThumbnailAddress(std::string_view videoId);

struct VideoTitle {
  std::string artist;
  std::string title;
};

// Artist and title from a video page's title: of " - ", "- ", " -", "-" the one that occurs first in it
// becomes "|" (at the same place the longer one), then every " - "; artist and title are the second and third
// "|"-separated fields. Today's pages are titled "Artist - Title - YouTube": the site's name at the end is moved to the
// front first, so they read like the old "YouTube - Artist - Title".
VideoTitle SplitVideoPageTitle(std::string_view pageTitle);

}  // namespace psalmora
