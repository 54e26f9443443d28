// Whether this machine can play movies at all (the start-up refuses to run without it).
#pragma once

namespace psalmora {

// True when Qt Multimedia has a working backend with at least one decodable file format.
bool CanPlayMovies();

}  // namespace psalmora
