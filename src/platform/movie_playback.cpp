// Asks Qt Multimedia for its decoders; this loads the backend (GStreamer here) without opening a player.
#include "platform/movie_playback.h"

#include <QList>
#include <QMediaFormat>

namespace psalmora {

bool CanPlayMovies() {
  QMediaFormat format;
  return !format.supportedFileFormats(QMediaFormat::Decode).isEmpty();
}

}  // namespace psalmora
