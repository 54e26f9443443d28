// Song-site addresses and the page reader of the web song import.
#include "online/web_song_search.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "songdb/timestamp.h"
#include "transfer/file_import.h"

namespace psalmora {
namespace {

std::string PercentEncoded(std::string_view cp1252) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char ch : Cp1252ToUtf8(cp1252)) {
    const auto byte = static_cast<unsigned char>(ch);
    if (std::isalnum(byte) || ch == '-' || ch == '.' || ch == '_' || ch == '~') {
      encoded.push_back(ch);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[byte >> 4]);
      encoded.push_back(kHex[byte & 0x0F]);
    }
  }
  return encoded;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  return lower;
}

// The text between the first and the second double quotation mark.
std::string Quoted(std::string_view line) {
  const std::size_t first = line.find('"');
  if (first == std::string_view::npos) return {};
  const std::size_t second = line.find('"', first + 1);
  if (second == std::string_view::npos) return {};
  return std::string(line.substr(first + 1, second - first - 1));
}

// Every text from "<" to the next ">" (inclusive) and every TAB removed; a "<" without a ">" after it
// stays.
std::string WithoutTags(std::string_view line) {
  std::string text;
  text.reserve(line.size());
  std::size_t at = 0;
  while (at < line.size()) {
    const char c = line[at];
    if (c == '<') {
      const std::size_t close = line.find('>', at);
      if (close != std::string_view::npos) {
        at = close + 1;
        continue;
      }
    }
    if (c != '\t') text.push_back(c);
    ++at;
  }
  return text;
}

std::string Utf8Of(char32_t code) {
  std::string utf8;
  if (code < 0x80) {
    utf8.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
    utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    utf8.push_back(static_cast<char>(0xE0 | (code >> 12)));
    utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    utf8.push_back(static_cast<char>(0xF0 | (code >> 18)));
    utf8.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
  return utf8;
}

// The character references chord pages use; a numeric one names a Windows-1252 character or becomes
// the program's own reference form, which the conversions understand.
std::string ResolveReferences(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kNamed = {{
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}, {"&#39;", "'"}}};
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] != '&') {
      out.push_back(text[at++]);
      continue;
    }
    bool done = false;
    for (const auto& [name, value] : kNamed) {
      if (text.substr(at, name.size()) == name) {
        out += value;
        at += name.size();
        done = true;
        break;
      }
    }
    if (done) continue;
    // "&#NNN;": the character when Windows-1252 has it, else kept as written.
    const std::size_t semicolon = text.find(';', at);
    if (text.substr(at, 2) == "&#" && semicolon != std::string_view::npos && semicolon - at <= 9 && semicolon > at + 2) {
      const std::string_view digits = text.substr(at + 2, semicolon - at - 2);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const unsigned long code = std::stoul(std::string(digits));
        if (code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
          out += Utf8ToCp1252(Utf8Of(static_cast<char32_t>(code)));
          at = semicolon + 1;
          continue;
        }
      }
    }
    out.push_back(text[at++]);
  }
  return out;
}

std::string CleanLine(std::string_view line) {
  std::string text = ResolveReferences(WithoutTags(line));
  return LooksLikeChordLine(text) ? ConvertChordLine(text) : text;
}

std::string Trim(std::string text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  return text.substr(start);
}

// The old page form: lines between a line with "<pre>" and a line with "</pre>", both kept.
std::vector<std::string> PreBlockLines(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  bool keeping = false;
  for (const std::string& line : lines) {
    if (line.find("<pre>") != std::string::npos) keeping = true;
    if (!keeping) continue;
    kept.push_back(CleanLine(line));
    if (line.find("</pre>") != std::string::npos) keeping = false;
  }
  return kept;
}

// Today's pages: the text inside the largest <pre ...>...</pre> element (any case, attributes allowed,
// anywhere in a line), and the <title>.
std::string LargestPreBlock(std::string_view page) {
  const std::string lower = Lower(page);
  std::string_view best;
  std::size_t at = 0;
  while ((at = lower.find("<pre", at)) != std::string::npos) {
    const char next = at + 4 < lower.size() ? lower[at + 4] : '\0';
    if (next != '>' && next != ' ' && next != '\t' && next != '\r' && next != '\n') {
      at += 4;
      continue;
    }
    const std::size_t open = lower.find('>', at);
    if (open == std::string::npos) break;
    const std::size_t close = lower.find("</pre", open);
    const std::size_t end = close == std::string::npos ? lower.size() : close;
    if (end - open - 1 > best.size()) best = page.substr(open + 1, end - open - 1);
    at = end;
  }
  return std::string(best);
}

std::string PageTitle(std::string_view page) {
  const std::string lower = Lower(page);
  const std::size_t open = lower.find("<title");
  if (open == std::string::npos) return {};
  const std::size_t start = lower.find('>', open);
  if (start == std::string::npos) return {};
  const std::size_t end = lower.find("</title", start);
  std::string title(page.substr(start + 1, (end == std::string::npos ? lower.size() : end) - start - 1));
  std::replace_if(
      title.begin(), title.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
  return Trim(ResolveReferences(WithoutTags(title)));
}

}  // namespace

std::string WebSearchUrl(std::string_view siteBase, SearchSite site, SearchField field, std::string_view term) {
  std::string base(siteBase);
  while (!base.empty() && base.back() == '/') base.pop_back();
  const std::string value = PercentEncoded(term);
  if (site == SearchSite::Google) return base + "/search?hl=de&q=" + value + "&btnG=Google-Suche";
  return base + "/search.php?s=" + value + (field == SearchField::Title ? "&w=songs" : "&w=bands");
}

PageSong ReadSongPage(std::string_view bytes) {
  const std::string page = IsValidUtf8(bytes) ? Utf8ToCp1252(bytes) : std::string(bytes);
  const std::vector<std::string> lines = SplitLines(page);
  PageSong song;
  bool artistFound = false, titleFound = false;
  for (const std::string& line : lines) {
    if (!artistFound && line.find("tf_artist") != std::string::npos) {
      song.artist = ResolveReferences(Quoted(line));
      artistFound = true;
    }
    if (!titleFound && line.find("tf_songtitle") != std::string::npos) {
      song.title = ResolveReferences(Quoted(line));
      titleFound = true;
    }
  }
  if (artistFound || titleFound) {
    song.lines = PreBlockLines(lines);
    return song;
  }
  song.title = PageTitle(page);
  std::vector<std::string> block = SplitLines(LargestPreBlock(page));
  // The block's first and last lines are often only the line breaks after "<pre>" and before "</pre>".
  while (!block.empty() && Trim(WithoutTags(block.back())).empty()) block.pop_back();
  std::size_t first = 0;
  while (first < block.size() && Trim(WithoutTags(block[first])).empty()) ++first;
  for (std::size_t i = first; i < block.size(); ++i) song.lines.push_back(CleanLine(block[i]));
  return song;
}

bool HasSongText(const PageSong& song) {
  return std::any_of(song.lines.begin(), song.lines.end(), [](const std::string& line) {
    return line.find_first_not_of(" >\r\n") != std::string::npos;
  });
}

PreparedSong PreparePageSong(const PageSong& song, long long now) {
  const auto clean = [](std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
  };
  PreparedSong prepared;
  prepared.recordAfterId = "\t" + FormatTimestamp(now) + "\t" + clean(song.title) + "\t\t\t\t" + clean(song.artist) +
                           "\t\t\t\t\t" + std::to_string(now);
  for (const std::string& line : song.lines) prepared.textFile += line + "\r";
  return prepared;
}

}  // namespace psalmora
