// The layout template: pieces cut at "#", placeholders "$text1", "$text2", "$count" and "$" + field number.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace psalmora {

// Appends the template's output for one song to out. Pieces are processed until the first empty one
// ("##" ends the template early). writeSongText is called for "$text1"; "$count" writes the song's 1-based
// position followed by CR LF; "$" + n writes field n of the record (nothing past its end).
void ProcessTemplate(std::string_view layoutCode, std::string_view record, int count, std::string& out,
                     const std::function<void(std::string&)>& writeSongText);

}  // namespace psalmora
