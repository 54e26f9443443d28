#include "render/page_template.h"

#include <algorithm>

#include "core/record_fields.h"
#include "render/song_html.h"

namespace psalmora {
namespace {

void WritePlaceholder(std::string_view piece, std::string_view record, int count, std::string& out,
                      const std::function<void(std::string&)>& writeSongText) {
  std::string name(piece);
  name.erase(std::remove(name.begin(), name.end(), '$'), name.end());
  if (name == "text1") {
    writeSongText(out);
  } else if (name == "count") {
    out += std::to_string(count);
    out += "\r\n";
  } else if (AllDigits(name)) {
    // Field 0 does not exist; it must not fall back to the id.
    const long long field = LeadingNumber(name);
    // Song fields are plain text, as the song lists show them.
    if (field >= 1 && field <= CountOf(record, '\t') + 1)
      out += PlainTextHtml(RecordField(record, static_cast<int>(field)));
  }
  // "text2" and unknown names write nothing.
}

}  // namespace

void ProcessTemplate(std::string_view layoutCode, std::string_view record, int count, std::string& out,
                     const std::function<void(std::string&)>& writeSongText) {
  std::size_t start = 0;
  while (start <= layoutCode.size()) {
    const std::size_t hash = layoutCode.find('#', start);
    const std::string_view piece =
        layoutCode.substr(start, hash == std::string_view::npos ? std::string_view::npos : hash - start);
    if (piece.empty()) return;
    if (piece.front() == '$') {
      WritePlaceholder(piece, record, count, out, writeSongText);
    } else {
      out += piece;
    }
    if (hash == std::string_view::npos) return;
    start = hash + 1;
  }
}

}  // namespace psalmora
