#include "render/page_template.h"

#include <algorithm>

#include "core/record_fields.h"
#include "render/song_html.h"

namespace psalmora {
namespace {

class TemplateWriter {
 public:
  TemplateWriter(std::string_view record, int count, std::string& out,
                 const std::function<void(std::string&)>& writeSongText)
      : record_(record), count_(count), out_(out), writeSongText_(writeSongText) {}

  void Literal(std::string_view piece) {
    if (inGroup_) {
      label_ += piece;
    } else {
      out_ += piece;
    }
  }

  void Placeholder(std::string_view piece) {
    std::string name(piece);
    name.erase(std::remove(name.begin(), name.end(), '$'), name.end());
    if (name.starts_with('[')) {
      EndGroup();
      inGroup_ = true;
      separator_ = name.substr(1);
      written_ = false;
    } else if (name == "]") {
      EndGroup();
    } else {
      Item(Output(name));
    }
  }

  // Text after the last placeholder of a group is written as it stands.
  void EndGroup() {
    out_ += label_;
    label_.clear();
    inGroup_ = false;
  }

 private:
  // What a placeholder writes; "text2" and unknown names write nothing.
  std::string Output(const std::string& name) const {
    std::string text;
    if (name == "text1") {
      writeSongText_(text);
    } else if (name == "count") {
      text = std::to_string(count_) + "\r\n";
    } else if (AllDigits(name)) {
      // Field 0 does not exist; it must not fall back to the id.
      const long long field = LeadingNumber(name);
      // Song fields are plain text, as the song lists show them.
      if (field >= 1 && field <= CountOf(record_, '\t') + 1)
        text = PlainTextHtml(RecordField(record_, static_cast<int>(field)));
    }
    return text;
  }

  void Item(const std::string& text) {
    if (!inGroup_) {
      out_ += text;
      return;
    }
    if (!text.empty()) {
      if (written_) out_ += separator_;
      out_ += label_;
      out_ += text;
      written_ = true;
    }
    label_.clear();
  }

  std::string_view record_;
  int count_;
  std::string& out_;
  const std::function<void(std::string&)>& writeSongText_;
  // A field group ("$[" + separator ... "$]"): the text before each placeholder is held back until the
  // placeholder shows whether it writes anything, so an empty field takes its label and its separator
  // with it.
  bool inGroup_ = false;
  std::string separator_;
  std::string label_;  // literal pieces since the group's last placeholder
  bool written_ = false;
};

}  // namespace

void ProcessTemplate(std::string_view layoutCode, std::string_view record, int count, std::string& out,
                     const std::function<void(std::string&)>& writeSongText) {
  TemplateWriter writer(record, count, out, writeSongText);
  std::size_t start = 0;
  while (start <= layoutCode.size()) {
    const std::size_t hash = layoutCode.find('#', start);
    const std::string_view piece =
        layoutCode.substr(start, hash == std::string_view::npos ? std::string_view::npos : hash - start);
    if (piece.empty()) break;
    if (piece.front() == '$') {
      writer.Placeholder(piece);
    } else {
      writer.Literal(piece);
    }
    if (hash == std::string_view::npos) break;
    start = hash + 1;
  }
  writer.EndGroup();
}

}  // namespace psalmora
