// Reading CCLI song files: the INI-style ".usr" files (a section "[S A" + song number + "]" with the
// keys Title, Author, Copyright, Themes, Keys and Words) and the ".txt" song files of the licence
// service (title, lyric sections, then "CCLI Song #", authors, copyright and the licence note). The
// kind is told by the content, not by the name. Every text ends up in the store's Windows-1252.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

// A text file's bytes in Windows-1252: decoded by its byte-order mark (UTF-8, UTF-16 LE or BE); without
// one as UTF-8 when the bytes are valid UTF-8, else as Windows-1252 already. Characters Windows-1252
// cannot hold become numeric character references ("&#322;"). Nothing for a file that is no text (NUL
// bytes without a UTF-16 mark).
std::optional<std::string> DecodeTextFile(std::string_view bytes);

struct CcliSong {
  std::string number;  // the CCLI song number
  std::string title;
  std::string author;
  std::string copyright;
  std::vector<std::string> themes;
  std::string keys;
  std::string lyrics;  // the song text: lines separated by CR
};

enum class CcliProblem { kNone, kCannotRead, kNotText, kNoSong };

struct CcliReading {
  CcliProblem problem = CcliProblem::kNone;
  CcliSong song;
};

// The song of a ".usr" file's text: the first "[S …]" section wherever it stands; keys case-insensitive,
// blanks around "=" allowed. Nothing when there is no such section.
std::optional<CcliSong> ParseUsrText(std::string_view text);

// The song of a licence service ".txt" song file; nothing when it has no "CCLI Song #" line.
std::optional<CcliSong> ParseLicenceText(std::string_view text);

// A file's bytes as either kind.
CcliReading ReadCcliBytes(std::string_view bytes);

// The lyrics of a "Words" value: a trailing "/t" is dropped, "/n" becomes CR, "/t" becomes "-" and CR.
std::string CcliLyrics(std::string_view words);

// The pick id of the first line of the category pick file ("id TAB text" per line) whose text equals
// one of the themes exactly; "0" when none does.
std::string CategoryForThemes(std::string_view pickFile, const std::vector<std::string>& themes);

}  // namespace psalmora
