// Writing and reading export files, with the escapes that let every byte of a song through.
#include "transfer/export_file.h"

#include <algorithm>

#include "core/record_fields.h"
#include "core/text_lines.h"
#include "media/video_list.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// True for a byte that scrambles to NUL, LF or CR: a line-based reader would lose or split there.
bool BreaksLine(unsigned char byte, int shift) {
  const int scrambled = (byte + shift) & 0xFF;
  return scrambled == 0 || scrambled == '\n' || scrambled == '\r';
}

void AppendHexEscape(std::string& out, unsigned char byte) {
  out += "\\x";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0x0F];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A backslash the reader would take for the start of an escape.
bool StartsEscape(std::string_view text, std::size_t i) {
  return text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'x');
}

void AppendField(std::string& out, std::string_view value, int shift) {
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (BreaksLine(byte, shift) || value[i] == kExportSeparator || value[i] == '\t' || value[i] == '\r' ||
        value[i] == '\n' || StartsEscape(value, i)) {
      AppendHexEscape(out, byte);
    } else {
      out += value[i];
    }
  }
}

void AppendText(std::string& out, std::string_view text, int shift) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\\n";
      ++i;
      continue;
    }
    const auto byte = static_cast<unsigned char>(text[i]);
    if (BreaksLine(byte, shift) || StartsEscape(text, i)) {
      AppendHexEscape(out, byte);
    } else {
      out += text[i];
    }
  }
}

// Undoes the escapes; "\n" becomes CR LF when lineEnds is set (the text part) and stays otherwise.
std::string Unescape(std::string_view text, bool lineEnds) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      if (lineEnds && text[i + 1] == 'n') {
        out += "\r\n";
        ++i;
        continue;
      }
      if (text[i + 1] == 'x' && i + 3 < text.size()) {
        const int high = HexValue(text[i + 2]);
        const int low = HexValue(text[i + 3]);
        if (high >= 0 && low >= 0) {
          out += static_cast<char>(high * 16 + low);
          i += 3;
          continue;
        }
      }
    }
    out += text[i];
  }
  return out;
}

std::string CleanField(std::string value) {
  std::replace_if(
      value.begin(), value.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return value;
}

}  // namespace

std::string ScrambleLine(std::string_view text, int shift, ScrambleMode mode) {
  const int delta = mode == ScrambleMode::kScramble ? shift : 256 - (shift & 0xFF);
  std::string out(text);
  for (char& c : out) c = static_cast<char>((static_cast<unsigned char>(c) + delta) & 0xFF);
  return out;
}

std::string BuildExportLine(std::string_view record, std::string_view textFile, std::string_view videoLink, int shift) {
  const bool laterFields = !RecordField(record, 20).empty() || !RecordField(record, 21).empty();
  const int fieldCount = laterFields ? 21 : kExportedFields;
  std::string line;
  line.reserve(record.size() + textFile.size() + textFile.size() / 8 + 32);
  for (int field = 1; field <= fieldCount; ++field) {
    if (field == 13) {
      AppendField(line, videoLink, shift);
    } else if (field < 17 || field > 19) {
      AppendField(line, RecordField(record, field), shift);
    }
    line += '\t';
  }
  line += kExportSeparator;
  AppendText(line, textFile, shift);
  return line;
}

ExportedSong ParseExportLine(std::string_view line) {
  const std::size_t separator = line.find(kExportSeparator);
  const std::string_view recordPart = line.substr(0, separator);
  ExportedSong song;
  // Fields 1 to k, k the number of TABs: a last field without its TAB is dropped. At least the id.
  const int fieldCount = std::max(1, CountOf(recordPart, '\t'));
  song.fields.reserve(static_cast<std::size_t>(fieldCount));
  std::size_t start = 0;
  for (int field = 1; field <= fieldCount; ++field) {
    const std::size_t end = std::min(recordPart.find('\t', start), recordPart.size());
    song.fields.push_back(CleanField(Unescape(recordPart.substr(start, end - start), false)));
    start = std::min(end + 1, recordPart.size());
  }
  if (separator != std::string_view::npos) song.textFile = Unescape(line.substr(separator + 1), true);
  const bool endsWithLineEnd = song.textFile.size() >= 2 && song.textFile.ends_with("\r\n");
  if (!endsWithLineEnd) song.textFile += kLineEnd;
  return song;
}

std::string ExportLineTitle(std::string_view line) {
  const std::string_view recordPart = line.substr(0, line.find(kExportSeparator));
  return CleanField(Unescape(RecordField(recordPart, 3), false));
}

ExportFileContent ParseExportFile(std::string_view bytes) {
  ExportFileContent content;
  const std::size_t magicSize = kExportMagic.size();
  if (bytes.size() < magicSize) {
    content.status = ExportFileContent::Status::kNotExportFile;
    return content;
  }
  // The shift is whatever turns the first byte into "p"; every other byte of the magic must agree.
  const int shift = (static_cast<unsigned char>(bytes[0]) - kExportMagic[0] + 256) & 0xFF;
  const std::string_view rest = bytes.substr(magicSize);
  std::string_view lineEnd;
  for (std::string_view candidate : {"\r\n", "\n", "\r"}) {
    if (rest.starts_with(candidate)) {
      lineEnd = candidate;
      break;
    }
  }
  if (shift == 0 || ScrambleLine(bytes.substr(0, magicSize), shift, ScrambleMode::kUnscramble) != kExportMagic ||
      (lineEnd.empty() && !rest.empty())) {
    content.status = ExportFileContent::Status::kNotExportFile;
    return content;
  }
  content.shift = shift;
  // Lines end with the line end the magic line has: a scrambled song may hold lone CR or LF bytes.
  std::size_t start = magicSize + lineEnd.size();
  while (start < bytes.size()) {
    std::size_t end = bytes.find(lineEnd, start);
    if (end == std::string_view::npos) end = bytes.size();
    content.lines.push_back(ScrambleLine(bytes.substr(start, end - start), shift, ScrambleMode::kUnscramble));
    start = end + lineEnd.size();
  }
  return content;
}

ExportFileContent ReadExportFile(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    ExportFileContent content;
    content.status = ExportFileContent::Status::kCannotOpen;
    return content;
  }
  return ParseExportFile(*bytes);
}

std::string BuildExportFile(const std::vector<std::string>& plainLines, int shift) {
  std::size_t size = kExportMagic.size() + 2;
  for (const std::string& line : plainLines) size += line.size() + 2;
  std::string file;
  file.reserve(size);
  file += ScrambleLine(kExportMagic, shift, ScrambleMode::kScramble);
  file += kLineEnd;
  for (const std::string& line : plainLines) {
    file += ScrambleLine(line, shift, ScrambleMode::kScramble);
    file += kLineEnd;
  }
  return file;
}

WriteResult ExportSongsToFile(const std::filesystem::path& path, const SongStore& store,
                              const std::vector<std::string>& records, const std::vector<std::string>& videoLines) {
  std::vector<std::string> lines;
  lines.reserve(records.size());
  for (const std::string& record : records) {
    const std::string_view id = RecordField(record, 1);
    const std::optional<std::string> text = store.ReadSongText(id);
    std::string videoLink;
    const std::string_view videoId = RecordField(record, 13);
    if (!videoId.empty()) {
      if (const std::optional<std::size_t> position = FindVideoById(videoLines, videoId)) {
        const VideoEntry entry = VideoEntryAt(videoLines, *position);
        if (!entry.address.empty()) {
          videoLink = JoinAt({entry.address, entry.title, entry.artist, entry.spare}, '|');
        }
      }
    }
    lines.push_back(BuildExportLine(record, text.value_or(std::string()), videoLink));
  }
  return WriteFileAtomically(path, BuildExportFile(lines));
}

std::string WithExportExtension(std::string_view fileName) {
  // Only the file's own name counts: a dot in a folder name is no extension.
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = name.find('.');
  std::string result(fileName);
  if (dot == std::string_view::npos || dot + 1 == name.size()) result += ".exp";
  return result;
}

}  // namespace psalmora
