// Role -> theme name and bundled picture. Theme names are only given where the freedesktop naming
// specification has an icon of the same meaning; the rest always use the bundled picture.
#include "core/ui/app_icons.h"

#include <QString>

// The UI library is static: its resource file is linked in only when registered. Q_INIT_RESOURCE must be
// used outside any namespace.
static bool RegisterIconResources() {
  Q_INIT_RESOURCE(icons);
  return true;
}

namespace psalmora {
namespace {

struct IconSource {
  const char* themeName;  // empty: no standard icon of this meaning
  const char* file;       // below ":/icons/"
};

IconSource SourceOf(IconId id) {
  switch (id) {
    case IconId::Program: return {"", "psalmora.svg"};
    case IconId::Song: return {"", "song.svg"};
    case IconId::SongShared: return {"", "song-shared.svg"};
    case IconId::TabGroups: return {"", "tab-groups.svg"};
    case IconId::TabSearch: return {"edit-find", "tab-search.svg"};
    case IconId::TabBible: return {"", "tab-bible.svg"};
    case IconId::TabVideos: return {"", "tab-videos.svg"};
    case IconId::TabFiles: return {"folder", "tab-files.svg"};
    case IconId::SelectionAdd: return {"list-add", "selection-add.svg"};
    case IconId::SelectionRemove: return {"list-remove", "selection-remove.svg"};
    case IconId::MoveUp: return {"go-up", "move-up.svg"};
    case IconId::MoveDown: return {"go-down", "move-down.svg"};
    case IconId::EditList: return {"", "edit-list.svg"};
    case IconId::SearchStart: return {"edit-find", "tab-search.svg"};
    case IconId::Chords: return {"", "chords.svg"};
    case IconId::Translation: return {"", "translation.svg"};
    case IconId::Footer: return {"", "footer.svg"};
    case IconId::Header: return {"", "header.svg"};
    case IconId::FontSmaller: return {"zoom-out", "font-smaller.svg"};
    case IconId::FontLarger: return {"zoom-in", "font-larger.svg"};
    case IconId::ScrollUp: return {"", "scroll-up.svg"};
    case IconId::ScrollDown: return {"", "scroll-down.svg"};
    case IconId::SendToBeamer: return {"", "send-beamer.svg"};
    case IconId::News: return {"", "news.svg"};
    case IconId::WebSearch: return {"", "web-search.svg"};
    case IconId::SongSelect: return {"", "songselect.svg"};
    case IconId::TransposeDown: return {"", "transpose-down.svg"};
    case IconId::TransposeUp: return {"", "transpose-up.svg"};
    case IconId::SongCopy: return {"", "songcopy.svg"};
    case IconId::TwoColumns: return {"", "two-columns.svg"};
    case IconId::SongOrder: return {"", "song-order.svg"};
    case IconId::MirrorBeamer: return {"", "mirror-beamer.svg"};
    case IconId::VideoBackground: return {"", "video-background.svg"};
    case IconId::VideoBeamer: return {"", "video-beamer.svg"};
    case IconId::VideoStop: return {"media-playback-stop", "video-stop.svg"};
    case IconId::Activities: return {"", "activities.svg"};
    case IconId::Tempo: return {"", "tempo.svg"};
    case IconId::Monitor1: return {"", "monitor-1.svg"};
    case IconId::Monitor2: return {"", "monitor-2.svg"};
    case IconId::Refresh: return {"view-refresh", "refresh.svg"};
    case IconId::BibleLoad: return {"", "bible-load.svg"};
    case IconId::VideoSite: return {"", "video-site.svg"};
    case IconId::Swap: return {"", "swap.svg"};
    case IconId::ListSave: return {"", "list-save.svg"};
    case IconId::Download: return {"", "download.svg"};
    case IconId::MediaPause: return {"media-playback-pause", "media-pause.svg"};
    case IconId::MediaPlay: return {"media-playback-start", "media-play.svg"};
    case IconId::PlayLink: return {"", "play-link.svg"};
    case IconId::SlideShow: return {"", "slideshow.svg"};
  }
  return {"", "song.svg"};
}

}  // namespace

QIcon BundledIcon(IconId id) {
  static const bool registered = RegisterIconResources();
  (void)registered;
  return QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(SourceOf(id).file));
}

QIcon AppIcon(IconId id) {
  const IconSource source = SourceOf(id);
  if (source.themeName[0] == '\0') return BundledIcon(id);
  return QIcon::fromTheme(QString::fromLatin1(source.themeName), BundledIcon(id));
}

}  // namespace psalmora
