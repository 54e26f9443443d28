// Role -> theme name and bundled picture. Theme names are only given where the freedesktop icon naming
// list has an icon of the same meaning; the rest always use the bundled picture.
#include "core/ui/app_icons.h"

#include <QSize>
#include <QString>
#include <QToolButton>
#include <cstddef>
#include <iterator>

#include "core/ui/ui_resources.h"

namespace psalmora {
namespace {

struct IconSource {
  const char* themeName;  // empty: no standard icon of this meaning
  const char* file;       // below ":/icons/"
};

// In the order of IconId.
constexpr IconSource kSources[] = {
    {"", "psalmora.svg"},                         // Program
    {"", "song.svg"},                             // Song
    {"", "song-shared.svg"},                      // SongShared
    {"", "tab-groups.svg"},                       // TabGroups
    {"edit-find", "tab-search.svg"},              // TabSearch
    {"", "tab-bible.svg"},                        // TabBible
    {"", "tab-videos.svg"},                       // TabVideos
    {"folder", "tab-files.svg"},                  // TabFiles
    {"list-add", "selection-add.svg"},            // SelectionAdd
    {"list-remove", "selection-remove.svg"},      // SelectionRemove
    {"go-up", "move-up.svg"},                     // MoveUp
    {"go-down", "move-down.svg"},                 // MoveDown
    {"", "edit-list.svg"},                        // EditList
    {"edit-find", "tab-search.svg"},              // SearchStart
    {"", "chords.svg"},                           // Chords
    {"", "translation.svg"},                      // Translation
    {"", "footer.svg"},                           // Footer
    {"", "header.svg"},                           // Header
    {"zoom-out", "font-smaller.svg"},             // FontSmaller
    {"zoom-in", "font-larger.svg"},               // FontLarger
    {"", "scroll-up.svg"},                        // ScrollUp
    {"", "scroll-down.svg"},                      // ScrollDown
    {"", "send-beamer.svg"},                      // SendToBeamer
    {"", "news.svg"},                             // News
    {"", "web-search.svg"},                       // WebSearch
    {"", "songselect.svg"},                       // SongSelect
    {"", "transpose-down.svg"},                   // TransposeDown
    {"", "transpose-up.svg"},                     // TransposeUp
    {"", "songcopy.svg"},                         // SongCopy
    {"", "two-columns.svg"},                      // TwoColumns
    {"", "song-order.svg"},                       // SongOrder
    {"", "mirror-beamer.svg"},                    // MirrorBeamer
    {"", "video-background.svg"},                 // VideoBackground
    {"", "video-beamer.svg"},                     // VideoBeamer
    {"media-playback-stop", "video-stop.svg"},    // VideoStop
    {"", "activities.svg"},                       // Activities
    {"", "tempo.svg"},                            // Tempo
    {"", "monitor-1.svg"},                        // Monitor1
    {"", "monitor-2.svg"},                        // Monitor2
    {"view-refresh", "refresh.svg"},              // Refresh
    {"", "bible-load.svg"},                       // BibleLoad
    {"", "video-site.svg"},                       // VideoSite
    {"", "swap.svg"},                             // Swap
    {"", "list-save.svg"},                        // ListSave
    {"", "download.svg"},                         // Download
    {"media-playback-pause", "media-pause.svg"},  // MediaPause
    {"media-playback-start", "media-play.svg"},   // MediaPlay
    {"", "play-link.svg"},                        // PlayLink
    {"", "slideshow.svg"},                        // SlideShow
};

static_assert(std::size(kSources) == static_cast<std::size_t>(IconId::SlideShow) + 1, "one source per IconId");

IconSource SourceOf(IconId id) {
  const auto index = static_cast<std::size_t>(id);
  return index < std::size(kSources) ? kSources[index] : IconSource{"", "song.svg"};
}

}  // namespace

QIcon BundledIcon(IconId id) {
  // The UI library is static: its resources are linked in only once registered, and tests use icons
  // without the program's start-up having done that.
  static const bool registered = (InitUiResources(), true);
  (void)registered;
  return QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(SourceOf(id).file));
}

QIcon AppIcon(IconId id) {
  const IconSource source = SourceOf(id);
  if (source.themeName[0] == '\0') return BundledIcon(id);
  return QIcon::fromTheme(QString::fromLatin1(source.themeName), BundledIcon(id));
}

QToolButton* IconButton(const QIcon& icon, const QString& tooltip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setIcon(icon);
  button->setIconSize(QSize(20, 20));
  button->setToolTip(tooltip);
  button->setAutoRaise(true);
  return button;
}

}  // namespace psalmora
