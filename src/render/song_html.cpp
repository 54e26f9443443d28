#include "render/song_html.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "render/chord_line.h"
#include "render/song_lines.h"
#include "render/transpose.h"

namespace psalmora {
namespace {

constexpr std::string_view kLessThan = "&lt;";

}  // namespace

std::string PlainTextHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '<') {
      out += kLessThan;
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

class SongTextWriter {
 public:
  SongTextWriter(std::string& out, const SongTextOptions& options) : out_(out), options_(options) {}

  void Write(std::vector<std::string>& lines) {
    Line("<table border=0><tr valign='top'><td valign='top'>");
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    int blocks = 1;
    for (std::string& line : lines) {
      if (!line.empty() && line.find_first_not_of(' ') == std::string::npos) line.clear();
      // Exactly the lines that move the break counter below count as block boundaries here.
      if (line.empty() || line.front() == '-') ++blocks;
    }
    breakAt_ = (blocks + 1) / 2 + 1;
    StartBlock();
    for (std::string& line : lines) {
      justBroke_ = false;
      WriteLine(line);
    }
    Line("</td></tr></table>");
  }

 private:
  // A piece of the song's own text as it goes into the page.
  void Text(std::string_view text) {
    if (options_.plainText) {
      out_ += PlainTextHtml(text);
    } else {
      out_ += text;
    }
  }

  void Line(std::string_view item) {
    out_ += item;
    out_ += "\r\n";
  }

  void WriteLine(std::string& line) {
    switch (ClassifySongLine(line)) {
      case SongLineKind::kEmpty:
      case SongLineKind::kBlank:
        Line("<font id=te>&nbsp;<br>");
        ++breakCounter_;
        CheckColumnBreak();
        break;
      case SongLineKind::kChord:
        if (options_.chordsShown) {
          // A chord line of only ">" is ignored and leaves earlier pending chords alone.
          if (std::optional<ChordSplit> split = SplitRawChordLine(line)) pending_ = std::move(split);
        }
        break;
      case SongLineKind::kTranslation:
        WriteMarkedLine(line, '#', options_.translationShown, "ub");
        break;
      case SongLineKind::kComment:
        WriteMarkedLine(line, ';', options_.commentsShown, "ko");
        break;
      case SongLineKind::kSeparator:
        ++block_;
        ++breakCounter_;
        CheckColumnBreak();
        StartBlock();
        break;
      case SongLineKind::kText:
        WriteTextLine(line);
        break;
    }
  }

  void WriteMarkedLine(std::string& line, char mark, bool shown, std::string_view id) {
    line.erase(std::remove(line.begin(), line.end(), mark), line.end());
    if (!shown) return;
    out_ += "<font id=";
    out_ += id;
    out_ += '>';
    Text(line);
    Line("</font><br>");
  }

  void WriteTextLine(const std::string& line) {
    if (!pending_) {
      out_ += "<font id=te>";
      Text(line);
      Line("</font><br>");
      return;
    }
    const std::vector<std::string> text = SplitTextLine(line, pending_->columns, pending_->segments);
    Line("<table border='0' cellspacing='0' cellpadding='0'>");
    if (options_.chordsShown) {
      Line("<tr>");
      const std::size_t cells = pending_->segments.size();
      for (std::size_t cell = 0; cell < cells; ++cell) {
        out_ += "<td><font id=ak>";
        std::string chord = TransposeChordBy(pending_->segments[cell], options_.transposeOffset);
        // A page drops the blanks at the end of a cell, so a chord longer than the syllables under it
        // (often after transposing: "G/H" becomes "F#/B") would run into the next one. The end
        // blanks of a cell become one fixed space, the gap the song text put between the two chords.
        const bool keepGap = cell + 1 < cells && !chord.empty() && chord.back() == ' ' &&
                             chord.find_first_not_of(' ') != std::string::npos;
        if (keepGap) chord.erase(chord.find_last_not_of(' ') + 1);
        Text(chord);
        if (keepGap) out_ += "&nbsp;";
        Line("</font></td>");
      }
      Line("</tr>");
    }
    if (options_.lyricsShown) {
      Line("<tr>");
      for (const std::string& segment : text) {
        out_ += "<td><font id=te>";
        Text(segment);
        Line("</font></td>");
      }
      Line("</tr>");
    }
    Line("</table>");
    pending_.reset();
  }

  void CheckColumnBreak() {
    if (!options_.twoColumns || breakCounter_ != breakAt_) return;
    Line("</td><td valign='top'>");
    justBroke_ = true;
  }

  void StartBlock() {
    const std::string number = std::to_string(block_);
    if (options_.slideMarkers) {
      Line("<font id=te >");
      if (block_ > 1 && !justBroke_) Line("<br>");
      out_ += "<span onclick='javascript:document.title=\"";
      out_ += number;
      out_ += "\"' style='background-color:yellow'>Folie ";
      out_ += number;
      Line("</span><br>");
    } else if (block_ > 1) {
      Line("<font id=te>&nbsp;<br>");
    }
  }

  std::string& out_;
  const SongTextOptions& options_;
  std::optional<ChordSplit> pending_;
  int block_ = 1;
  int breakCounter_ = 1;
  int breakAt_ = 0;
  bool justBroke_ = false;
};

}  // namespace

void WriteSongTextHtml(std::string& out, std::vector<std::string> lines, const SongTextOptions& options) {
  SongTextWriter writer(out, options);
  writer.Write(lines);
}

}  // namespace psalmora
