// RenderPage: one generated page (preview, beamer frames, print, layout preview) written to its file in the
// data folder, with what the windows need to show alongside it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/layout_file.h"

namespace psalmora {

enum class RenderMode { kVorschau, kBeamerLied, kFreetext, kKopfzeile, kAkkorde, kFuss, kDrucken, kLayout };

// The mode words "vorschau", "beamer-lied", "freetext", "kopfzeile", "akkorde", "fuss", "drucken", "layout".
std::optional<RenderMode> RenderModeFromWord(std::string_view word);
std::string_view RenderModeWord(RenderMode mode);

// "vorschau.htm", "beamer.htm", "akkord.htm", "fuss.htm", "drucken.htm", "layout.htm".
std::string_view PageFileName(RenderMode mode);

// The key of group "Layouts" of the settings that names the mode's layout ("vorschau", "beamer",
// "kopfzeile", "fußzeile" in Windows-1252); empty for "drucken" and "layout", whose windows choose it.
std::string_view LayoutSettingKey(RenderMode mode);

// The beamer's slide paging, shared with the presentation controls.
struct PagingState {
  int currentSlide = 0;    // 0: paging off (the setting "folie")
  bool keepSlide = false;  // set by callers that move between slides of the same song; one-shot
};

// The program state a rendering reads and changes: the loaded layout and the paging.
struct RenderState {
  Layout layout;  // replaced whenever a rendering names a layout key
  PagingState paging;
};

struct RenderFolders {
  std::filesystem::path dataFolder;    // song texts and the generated pages
  std::filesystem::path layoutFolder;  // "layouts"
};

// Everything of the main window a rendering reads.
struct RenderRequest {
  RenderMode mode = RenderMode::kVorschau;
  // Song records to render; only "drucken" renders more than the first. "freetext", "kopfzeile" and
  // "layout" set their own.
  std::vector<std::string> renderList;
  std::string layoutKey;              // empty: the layout already loaded stays in use
  std::string transposeOffset = "0";  // the transposition field's text
  bool twoColumns = false;            // "lange Texte in zwei Spalten darstellen" (preview only)
  std::string freeText;               // "freetext": the free-text field
  std::string headerText;             // "kopfzeile": the header-text field
  std::string beamerSongRecord;       // "freetext": record of the song last shown on the beamer
};

struct RenderResult {
  std::filesystem::path page;  // the file of the mode
  bool written = false;        // false: the file keeps its earlier content (error says why)
  std::string error;
  bool load = false;  // the render list was not empty: load page into the mode's view
  // First entry of the render list ("vorschau": the hidden record field and the song-state buttons).
  std::string record;
  // "vorschau": "Tempo: " + field 16 + " bpm" or "kein Tempo"; the song order with 0x81 as CR.
  std::string tempoText;
  std::string songOrderText;
  // "beamer-lied": the song now on the beamer, its title for the status bar, and with paging on the
  // number of blocks (slide buttons 1 to blockCount are enabled) and the slide shown.
  std::string beamerSongId;
  std::string beamerTitle;
  int blockCount = 0;
  int currentSlide = 0;
};

// Builds the page of the request's mode and writes it atomically to its file in the data folder.
RenderResult RenderPage(const RenderRequest& request, const RenderFolders& folders, RenderState& state);

// The page bytes alone, for the same request (the state changes as with RenderPage).
std::string BuildPage(const RenderRequest& request, const RenderFolders& folders, RenderState& state,
                      RenderResult& result);

}  // namespace psalmora
