// The layout template: pieces cut at "#", placeholders "$text1", "$text2", "$count" and "$" + field number,
// and field groups whose empty fields leave no separator behind.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace psalmora {

// Appends the template's output for one song to out. Pieces are processed until the first empty one
// ("##" ends the template early). writeSongText is called for "$text1"; "$count" writes the song's 1-based
// position followed by CR LF; "$" + n writes field n of the record (nothing past its end).
//
// A field group, "$[" + separator up to "$]" (or the template's end), joins the placeholders inside it
// with the separator and leaves out each one that writes nothing together with the text before it:
// "#$[ · #$7#© #$8#CCLI #$11#$]#" gives "A · © B · CCLI 1", "© B" or nothing, never a dangling " · ".
// Groups do not nest; text after a group's last placeholder is written as it stands.
void ProcessTemplate(std::string_view layoutCode, std::string_view record, int count, std::string& out,
                     const std::function<void(std::string&)>& writeSongText);

}  // namespace psalmora
