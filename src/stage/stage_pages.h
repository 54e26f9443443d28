// The two pages the phones load: the stage page (chords for the band) and the remote page (the
// leader's buttons). Each is one self-contained HTML document with its style and script inline.
#pragma once

#include <string>
#include <string_view>

namespace psalmora {

// labelsJson: a JSON object of captions ({"next":"Next", ...}); keys it lacks keep the German default.
// It must come from AppendJsonString-escaped text (no "<" can close the script element).
std::string StagePageHtml(std::string_view labelsJson);
std::string RemotePageHtml(std::string_view labelsJson);

}  // namespace psalmora
