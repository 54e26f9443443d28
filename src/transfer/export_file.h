// The export file (".exp"): a magic line "pmexport" and one line per song (the first fields of its
// record, the byte 0x9D, its text with the two characters "\n" for each line end), every line stored
// with each byte shifted ("scrambled") and ended by CR LF.
//
// What the plain format cannot carry is escaped so that every song comes back byte for byte, while a
// reader that only knows the plain format still reads ordinary songs unchanged:
//   - "\xHH" (two upper-case hex digits) stands for a byte that would scramble to NUL, LF or CR, for
//     0x9D inside the record part, and for a backslash that is followed by "n" or "x";
//   - in the text part "\n" stands for CR LF, while a lone CR or LF stays as it is.
// A reader of this module takes the shift from the magic line, so files of any shift from 1 to 255 read.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace psalmora {

class SongStore;

inline constexpr std::string_view kExportMagic = "pmexport";
inline constexpr char kExportSeparator = '\x9D';
// The shift this program writes with. Its troublesome bytes (those that scramble to NUL, LF and CR) are
// the control characters 0x06, 0x10 and 0x13, which ordinary songs never hold.
inline constexpr int kExportShift = 250;
// Fields of a song record the export carries: ID up to Tempo.
inline constexpr int kExportedFields = 16;

// `ScrambleLine`: mode 0 adds shift to every byte, mode 1 subtracts it (both modulo 256).
enum class ScrambleMode { kScramble = 0, kUnscramble = 1 };
std::string ScrambleLine(std::string_view text, int shift, ScrambleMode mode);

// The plain (unscrambled) song line of a record and the bytes of its text file. Fields 1 to 16 are
// written, each followed by a TAB; when "tonart" or "textformatierung" is set, fields 17 to 21 follow
// with Favourit, syncstate and globalid left empty (they belong to the exporting database). videoLink
// replaces field 13 (the entry id of the exporting database means nothing elsewhere): the linked
// video's "address|title|artist|spare", or empty. shift is the shift the line will be scrambled with.
std::string BuildExportLine(std::string_view record, std::string_view textFile, std::string_view videoLink,
                            int shift = kExportShift);

// The parts of a plain song line, decoded: the record's fields (as many as the record part has TABs,
// at least one; TAB, CR and LF inside a value become a blank) and the bytes of the text file. A text
// part that does not end with a line end gets CR LF, as the store writes every text file.
struct ExportedSong {
  std::vector<std::string> fields;
  std::string textFile;
};
ExportedSong ParseExportLine(std::string_view line);

// Field 3 (the title) of a plain song line, decoded.
std::string ExportLineTitle(std::string_view line);

// Reading an export file: the plain song lines in file order, or why the file is none.
struct ExportFileContent {
  enum class Status { kOk, kCannotOpen, kNotExportFile };
  Status status = Status::kOk;
  int shift = 0;
  std::vector<std::string> lines;
};
ExportFileContent ParseExportFile(std::string_view bytes);
ExportFileContent ReadExportFile(const std::filesystem::path& path);

// The whole file for the given plain song lines, scrambled with the shift, every line ended by CR LF.
std::string BuildExportFile(const std::vector<std::string>& plainLines, int shift = kExportShift);

// `ExportSongsToFile` on the store: the records in order, each with its text file and the video link
// from the video list lines; written atomically, so a failure leaves no half file.
WriteResult ExportSongsToFile(const std::filesystem::path& path, const SongStore& store,
                              const std::vector<std::string>& records, const std::vector<std::string>& videoLines);

// The save name of `ExportSelectedSongs`: ".exp" appended when the name has no second "."-separated part.
std::string WithExportExtension(std::string_view fileName);

}  // namespace psalmora
