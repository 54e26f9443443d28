// `RunFileImport` without the window: text files, and the text taken out of presentation files, become
// new songs through the assignment rules, one song per file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/assignment_rules.h"
#include "transfer/song_import.h"

namespace psalmora {

class SongStore;

// The marker between two slides in an extracted presentation text.
inline constexpr std::string_view kSlideBreak = "#Seitenwechsel#";

// `ConvertChordLine`: ">" takes the place of the line's first space, so chords stay over their syllables.
std::string ConvertChordLine(std::string_view line);

// True when more than half of the line's characters are spaces.
bool LooksLikeChordLine(std::string_view line);

// The line clean-up of an import: chord lines converted, and the empty lines right before and right
// after every "-" line removed.
std::vector<std::string> CleanImportLines(std::vector<std::string> lines);

// A song from one file's bytes. fileName is the name the rules see (the part before its first "." is
// the value of a file-name rule). The record has ID left out: "Erstellt am" and the 19 assigned
// values, no TAB after the last; the text is the remaining lines separated by CR.
PreparedSong PrepareFileSong(std::string_view fileName, std::string_view bytes, const AssignmentRules& rules,
                             long long now);

// The conversion file of an extracted presentation text: every slide break becomes CR "-" CR, and the
// text ends with CR LF.
std::string PresentationTextFile(std::string_view extractedText);

// "<dataFolder>/convert", and the conversion file of a presentation: its base name (up to the first
// ".") + ".dat".
std::filesystem::path ConversionFolder(const std::filesystem::path& dataFolder);
std::filesystem::path ConversionFileFor(const std::filesystem::path& dataFolder, const std::filesystem::path& presentation);

// A text file of an import: nothing when it is not a regular file, cannot be read or is larger than
// kMaxImportFileBytes (no song text is that long; a film or disk image chosen by mistake is not read
// into memory).
inline constexpr std::uintmax_t kMaxImportFileBytes = 8u << 20;
std::optional<std::string> ReadImportFile(const std::filesystem::path& file);

struct FileImportSource {
  std::filesystem::path path;        // the file as chosen
  std::optional<std::string> bytes;  // its content; nothing when it could not be read
};

struct FileImportOutcome {
  std::filesystem::path path;
  bool readable = false;
  std::string id;  // of the new song; empty when the file added none
};

struct FileImport {
  std::vector<FileImportOutcome> files;  // in the order given
  ImportResult stored;                   // stored.saved is false when the songs could not be written
};

// Every readable source as a new song, in order (the last at the top), stored in one go.
FileImport ImportFileContents(SongStore& store, const std::vector<FileImportSource>& sources,
                              const AssignmentRules& rules, long long now);

// Reads each text file, then ImportFileContents.
FileImport ImportTextFiles(SongStore& store, const std::vector<std::filesystem::path>& files,
                           const AssignmentRules& rules, long long now);

}  // namespace psalmora
