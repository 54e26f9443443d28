// The head of a generated page: the body tag with the layout's background and the style block.
#pragma once

#include <string>
#include <string_view>

#include "render/layout_file.h"

namespace psalmora {

struct PageFrame {
  std::string_view leftMargin = "5";
  bool noScroll = false;  // scroll='no' pages (the beamer's frames)
  // Layout line 4, or the song's own picture on the beamer; written into url() with references decoded
  // and every character that could end the url or the attribute percent-encoded.
  std::string_view backgroundImage;
  // The print page runs every song through the same layout; a second copy of the same style rules only
  // makes the engine match each element against it again (for a hundred songs, seconds of print time).
  bool styleBlock = true;
};

// Appends "<head>...</head><body ...><style ...>...</style>" without line ends, the style block only
// when frame.styleBlock. Sizes are written as CSS pixels ("16px"); pages with scroll='no' also get
// overflow:hidden; a glow outline is written both as the old Glow filter and as a text-shadow, which
// current engines draw.
void WritePageHead(std::string& out, const Layout& layout, const PageFrame& frame);

}  // namespace psalmora
