// Layout files ("layouts/" + key + ".lay"): reading, writing, listing, and the id counter "layout.ini".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace psalmora {

// Line numbers (1-based) of a layout file, in the order of the layout schema.
namespace layout_line {
inline constexpr int kName = 1;
inline constexpr int kDescription = 2;
inline constexpr int kBackgroundColour = 3;
inline constexpr int kBackgroundImage = 4;
inline constexpr int kTemplate = 5;
inline constexpr int kChordStyle = 6;
inline constexpr int kTextStyle = 7;
inline constexpr int kTranslationStyle = 8;
inline constexpr int kCommentStyle = 9;
inline constexpr int kOutline = 10;
}  // namespace layout_line

// One layout as the lines of its file. An empty layout (no file for the key) renders as an empty body.
struct Layout {
  std::vector<std::string> lines;

  // Line n (1-based); empty past the end.
  std::string_view Line(int n) const;
  bool empty() const { return lines.empty(); }
};

// An entry of the layout list: the file key and the two lines shown in lists.
struct LayoutEntry {
  std::string key;
  std::string name;
  std::string description;
};

inline constexpr std::string_view kLayoutIniFileName = "layout.ini";

// The file of a layout key, or nothing for a key that cannot name a layout file (empty, with "." or a
// path separator: a key is the file name up to its first ".").
std::optional<std::filesystem::path> LayoutFilePath(const std::filesystem::path& layoutFolder, std::string_view key);

// Every "*.lay" file of the folder, ordered by key (numbers by value); nothing when the folder cannot be
// read (the caller shows "Layoutordner konnte nicht geöffnet werden!").
std::optional<std::vector<LayoutEntry>> ListLayouts(const std::filesystem::path& layoutFolder);

// The layout of a key; empty when there is no such file.
Layout LoadLayout(const std::filesystem::path& layoutFolder, std::string_view key);

// Parses the text of a layout file (any line ends).
Layout ParseLayout(std::string_view text);

// Writes the layout's lines, each followed by CR LF, over the file of key. A failure goes to stderr
// and is returned; the layout window stays silent about it.
bool SaveLayout(const std::filesystem::path& layoutFolder, std::string_view key, const Layout& layout);

// The interface-language words a new layout is made of, already translated.
struct NewLayoutWords {
  std::string layoutNeu = "Layout Neu";
  std::string beschreibung = "Layoutbeschreibung";
  std::string kein = "kein";
};

// The nine lines of a new layout.
Layout NewLayoutContents(const NewLayoutWords& words);

// The highest layout id handed out ("layout.ini", group "Layout", key "id"); -1 when unreadable.
long long ReadLastLayoutId(const std::filesystem::path& layoutFolder);

// Hands out the next layout id, stores it, and creates its file with the new-layout contents. Nothing
// when the id cannot be read (the caller shows "ID konnte nicht geladen werden") or a file cannot be
// written.
std::optional<std::string> CreateNewLayout(const std::filesystem::path& layoutFolder, const NewLayoutWords& words);

}  // namespace psalmora
