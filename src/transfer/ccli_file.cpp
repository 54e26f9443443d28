// CCLI song files into songs. The section and key reading is forgiving (LF or CR LF, blank lines
// before the section, blanks around "=", any letter case), since these files come from many tools.
#include "transfer/ccli_file.h"

#include <algorithm>
#include <cctype>

#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

std::string Blanked(std::string_view value) {
  std::string out(value);
  std::replace(out.begin(), out.end(), '\t', ' ');
  return out;
}

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD, an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    AppendUtf8(out, cp);
  }
  return out;
}

// "[S A12345]" or "[S 12345]" -> "12345".
std::optional<std::string> SongSectionNumber(std::string_view line) {
  line = Trim(line);
  if (line.size() < 4 || line.front() != '[' || line.back() != ']') return std::nullopt;
  std::string_view inner = Trim(line.substr(1, line.size() - 2));
  if (inner.empty() || (inner[0] != 'S' && inner[0] != 's')) return std::nullopt;
  if (inner.size() > 1 && inner[1] != ' ') return std::nullopt;
  inner = Trim(inner.substr(1));
  if (!inner.empty() && (inner[0] == 'A' || inner[0] == 'a')) inner = Trim(inner.substr(1));
  return std::string(inner);
}

bool IsSectionHeader(std::string_view line) {
  line = Trim(line);
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// A heading of a lyric section in a licence service text ("Verse 1", "Chorus", "Pre-Chorus 2", "Tag").
bool IsLyricHeading(std::string_view line) {
  static const std::vector<std::string> kWords = {"verse",
                                                  "chorus",
                                                  "pre-chorus",
                                                  "prechorus",
                                                  "post-chorus",
                                                  "bridge",
                                                  "tag",
                                                  "intro",
                                                  "outro",
                                                  "ending",
                                                  "interlude",
                                                  "instrumental",
                                                  "refrain",
                                                  "coda",
                                                  "vamp",
                                                  "misc",
                                                  "turnaround",
                                                  "channel",
                                                  "breakdown",
                                                  "strophe",
                                                  "vers",
                                                  "refrein",
                                                  "zwischenspiel",
                                                  "schluss",
                                                  "vorchor",
                                                  "br\xFC"
                                                  "cke",
                                                  "rap",
                                                  "spoken"};
  line = Trim(line);
  const std::size_t blank = line.find(' ');
  const std::string first = Lower(line.substr(0, blank));
  if (std::find(kWords.begin(), kWords.end(), first) == kWords.end()) return false;
  if (blank == std::string_view::npos) return true;
  // Only a short mark may follow ("1", "2a", "B"), so a lyric line such as "Tag und Nacht" stays.
  const std::string_view mark = Trim(line.substr(blank));
  return mark.size() <= 3 && mark.find(' ') == std::string_view::npos &&
         (mark.size() == 1 || mark.find_first_of("0123456789") != std::string_view::npos);
}

bool IsCcliNumberLine(std::string_view line) {
  return StartsWithNoCase(Trim(line), "CCLI Song #") || StartsWithNoCase(Trim(line), "CCLI Song No") ||
         StartsWithNoCase(Trim(line), "CCLI-Liednummer");
}

std::string NumberOf(std::string_view line) {
  line = Trim(line);
  std::size_t start = line.find_first_of("0123456789");
  if (start == std::string_view::npos) return {};
  std::size_t end = line.find_first_not_of("0123456789", start);
  return std::string(line.substr(start, end == std::string_view::npos ? line.size() - start : end - start));
}

std::vector<std::string> SplitAtText(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = text.find(separator, start);
    parts.emplace_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) break;
    start = at + separator.size();
  }
  return parts;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  while (true) {
    const std::size_t at = text.find(from, start);
    if (at == std::string::npos) break;
    out.append(text, start, at - start).append(to);
    start = at + from.size();
  }
  out.append(text, start, std::string::npos);
  return out;
}

}  // namespace

std::optional<std::string> DecodeTextFile(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return Utf8ToCp1252(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return Utf8ToCp1252(Utf16ToUtf8(bytes.substr(2), false));
  if (bytes.starts_with("\xFE\xFF")) return Utf8ToCp1252(Utf16ToUtf8(bytes.substr(2), true));
  if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
  if (IsValidUtf8(bytes)) return Utf8ToCp1252(bytes);
  return std::string(bytes);
}

std::optional<CcliSong> ParseUsrText(std::string_view text) {
  const std::vector<std::string> lines = SplitLines(text);
  std::size_t at = 0;
  std::optional<std::string> number;
  for (; at < lines.size() && !number; ++at) number = SongSectionNumber(lines[at]);
  if (!number) return std::nullopt;
  CcliSong song;
  song.number = Blanked(*number);
  std::string themes;
  std::string words;
  for (; at < lines.size() && !IsSectionHeader(lines[at]); ++at) {
    const std::size_t equals = lines[at].find('=');
    if (equals == std::string::npos) continue;
    const std::string key = Lower(Trim(std::string_view(lines[at]).substr(0, equals)));
    const std::string value = Blanked(Trim(std::string_view(lines[at]).substr(equals + 1)));
    if (key == "title") song.title = value;
    if (key == "author") song.author = value;
    if (key == "copyright") song.copyright = value;
    if (key == "themes") themes = value;
    if (key == "keys") song.keys = value;
    if (key == "words") words = value;
  }
  if (!themes.empty()) {
    for (std::string& theme : SplitAtText(themes, "/t")) {
      if (!theme.empty()) song.themes.push_back(std::move(theme));
    }
  }
  song.lyrics = CcliLyrics(words);
  return song;
}

std::optional<CcliSong> ParseLicenceText(std::string_view text) {
  const std::vector<std::string> lines = SplitLines(text);
  const auto numberLine = std::find_if(lines.begin(), lines.end(), IsCcliNumberLine);
  if (numberLine == lines.end()) return std::nullopt;
  CcliSong song;
  song.number = NumberOf(*numberLine);
  auto line = lines.begin();
  while (line != numberLine && Trim(*line).empty()) ++line;
  if (line != numberLine) song.title = Blanked(Trim(*line++));

  // Sections are told apart by their headings and by blank lines; each section's last line carries
  // the "-" that a "/t" gives in a ".usr" file, so both kinds of file give the same song text.
  std::vector<std::vector<std::string>> sections(1);
  for (; line != numberLine; ++line) {
    const std::string_view content = Trim(*line);
    if (content.empty() || IsLyricHeading(content)) {
      if (!sections.back().empty()) sections.emplace_back();
      continue;
    }
    sections.back().push_back(Blanked(content));
  }
  if (sections.back().empty()) sections.pop_back();
  std::string lyrics;
  for (std::size_t s = 0; s < sections.size(); ++s) {
    for (std::size_t l = 0; l < sections[s].size(); ++l) {
      if (!lyrics.empty()) lyrics += '\r';
      lyrics += sections[s][l];
    }
    if (s + 1 < sections.size()) lyrics += '-';
  }
  song.lyrics = std::move(lyrics);

  for (auto after = numberLine + 1; after != lines.end(); ++after) {
    const std::string_view content = Trim(*after);
    if (content.empty()) continue;
    const bool copyright =
        content.starts_with("\xA9") || StartsWithNoCase(content, "(c)") || StartsWithNoCase(content, "copyright");
    if (copyright) {
      if (song.copyright.empty()) {
        std::string_view value = content.starts_with("\xA9") ? content.substr(1) : content;
        song.copyright = Blanked(Trim(value));
      }
    } else if (song.author.empty() && song.copyright.empty() && !StartsWithNoCase(content, "For use solely") &&
               !StartsWithNoCase(content, "CCLI Licen")) {
      song.author = Blanked(content);
    }
  }
  return song;
}

CcliReading ReadCcliBytes(std::string_view bytes) {
  CcliReading reading;
  const std::optional<std::string> text = DecodeTextFile(bytes);
  if (!text) {
    reading.problem = CcliProblem::kNotText;
    return reading;
  }
  std::optional<CcliSong> song = ParseUsrText(*text);
  if (!song) song = ParseLicenceText(*text);
  if (!song) {
    reading.problem = CcliProblem::kNoSong;
    return reading;
  }
  reading.song = std::move(*song);
  return reading;
}

std::string CcliLyrics(std::string_view words) {
  if (words.ends_with("/t")) words.remove_suffix(2);
  std::string lyrics = ReplaceAll(std::string(words), "/n", "\r");
  return ReplaceAll(std::move(lyrics), "/t", "-\r");
}

std::string CategoryForThemes(std::string_view pickFile, const std::vector<std::string>& themes) {
  for (const std::string& line : SplitLines(pickFile)) {
    const std::string_view text = RecordField(line, 2);
    if (std::find(themes.begin(), themes.end(), text) != themes.end()) return std::string(RecordField(line, 1));
  }
  return "0";
}

}  // namespace psalmora
