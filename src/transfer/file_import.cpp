// Text and presentation files into the song store through the assignment rules.
#include "transfer/file_import.h"

#include <algorithm>

#include "core/atomic_file.h"
#include "core/text_lines.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"

namespace psalmora {
namespace {

// Lines at CR, LF or CR LF; an empty text is one empty line, and so is a text that is only a line end.
std::vector<std::string> ImportLines(std::string_view bytes) {
  std::vector<std::string> lines = SplitLines(bytes);
  if (lines.empty()) lines.emplace_back();
  return lines;
}

}  // namespace

std::string ConvertChordLine(std::string_view line) {
  std::string out = ">";
  out += line;
  const std::size_t space = out.find(' ');
  if (space != std::string::npos) out.erase(space, 1);
  return out;
}

bool LooksLikeChordLine(std::string_view line) {
  const auto spaces = static_cast<std::size_t>(std::count(line.begin(), line.end(), ' '));
  return spaces * 2 > line.size();
}

std::vector<std::string> CleanImportLines(std::vector<std::string> lines) {
  for (std::string& line : lines) {
    if (LooksLikeChordLine(line)) line = ConvertChordLine(line);
  }
  // Every empty line that touches a "-" line goes, however many there are: a slide's text that ends
  // in a paragraph break would otherwise leave a blank line before each separator.
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) {
      std::size_t end = i;
      while (end < lines.size() && lines[end].empty()) ++end;
      const bool afterDash = !kept.empty() && kept.back() == "-";
      const bool beforeDash = end < lines.size() && lines[end] == "-";
      if (!afterDash && !beforeDash) kept.insert(kept.end(), lines.begin() + static_cast<std::ptrdiff_t>(i),
                                                 lines.begin() + static_cast<std::ptrdiff_t>(end));
      i = end - 1;
      continue;
    }
    kept.push_back(std::move(lines[i]));
  }
  return kept;
}

PreparedSong PrepareFileSong(std::string_view fileName, std::string_view bytes, const AssignmentRules& rules,
                             long long now) {
  std::vector<std::string> lines = CleanImportLines(ImportLines(bytes));
  const std::string first = lines.empty() ? std::string() : lines.front();
  const std::string last = lines.empty() ? std::string() : lines.back();
  PreparedSong song;
  song.recordAfterId = "\t" + FormatTimestamp(now);
  bool firstUsed = false;
  bool lastUsed = false;
  for (const AssignmentRule& rule : rules) {
    song.recordAfterId += '\t';
    // A TAB of the file would split the record: it becomes a blank, as the editor does with its fields.
    std::string value = EvaluateRule(rule, fileName, first, last);
    std::replace(value.begin(), value.end(), '\t', ' ');
    song.recordAfterId += value;
    if (rule.assigned) {
      firstUsed = firstUsed || rule.source == RuleSource::kFirstLine;
      lastUsed = lastUsed || rule.source == RuleSource::kLastLine;
    }
  }
  if (firstUsed && !lines.empty()) lines.erase(lines.begin());
  if (lastUsed && !lines.empty()) lines.pop_back();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) song.textFile += '\r';
    song.textFile += lines[i];
  }
  song.textFile += kLineEnd;
  return song;
}

std::string PresentationTextFile(std::string_view extractedText) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t hit = extractedText.find(kSlideBreak); hit != std::string_view::npos;
       hit = extractedText.find(kSlideBreak, start)) {
    out.append(extractedText.substr(start, hit - start));
    out += "\r-\r";
    start = hit + kSlideBreak.size();
  }
  out.append(extractedText.substr(start));
  out += kLineEnd;
  return out;
}

std::filesystem::path ConversionFolder(const std::filesystem::path& dataFolder) { return dataFolder / "convert"; }

std::filesystem::path ConversionFileFor(const std::filesystem::path& dataFolder,
                                        const std::filesystem::path& presentation) {
  const std::string name = presentation.filename().string();
  return ConversionFolder(dataFolder) / (name.substr(0, name.find('.')) + ".dat");
}

std::optional<std::string> ReadImportFile(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error || size > kMaxImportFileBytes) return std::nullopt;
  return ReadWholeFile(file);
}

FileImport ImportFileContents(SongStore& store, const std::vector<FileImportSource>& sources,
                              const AssignmentRules& rules, long long now) {
  FileImport result;
  std::vector<PreparedSong> songs;
  std::vector<std::size_t> songFile;
  for (const FileImportSource& source : sources) {
    FileImportOutcome outcome{source.path, source.bytes.has_value(), {}};
    if (source.bytes) {
      songs.push_back(PrepareFileSong(source.path.filename().string(), *source.bytes, rules, now));
      songFile.push_back(result.files.size());
    }
    result.files.push_back(std::move(outcome));
  }
  result.stored = StoreSongsOfFiles(store, songs, songFile, result.files);
  return result;
}

FileImport ImportTextFiles(SongStore& store, const std::vector<std::filesystem::path>& files,
                           const AssignmentRules& rules, long long now) {
  std::vector<FileImportSource> sources;
  sources.reserve(files.size());
  for (const std::filesystem::path& file : files) sources.push_back({file, ReadImportFile(file)});
  return ImportFileContents(store, sources, rules, now);
}

}  // namespace psalmora
