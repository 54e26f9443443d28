// psalmora-tool commands of the renderer: render, transpose, expand-inline, copy.
#include <sstream>

#include "cli/tool.h"
#include "core/data_folder.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "render/render_page.h"
#include "render/song_copy.h"
#include "render/song_lines.h"
#include "render/transpose.h"
#include "songdb/song_store.h"

namespace psalmora::cli {
namespace {

// The settings' layout for a mode; "drucken" uses the print layout and "layout" the preview's when no
// --layout is given.
std::string DefaultLayoutKey(RenderMode mode, const Settings& settings) {
  switch (mode) {
    case RenderMode::kVorschau:
    case RenderMode::kLayout:
      return settings.layouts.vorschau;
    case RenderMode::kBeamerLied:
    case RenderMode::kFreetext:
    case RenderMode::kKopfzeile:
      return settings.layouts.beamer;
    case RenderMode::kAkkorde:
      return settings.layouts.kopfzeile;
    case RenderMode::kFuss:
      return settings.layouts.fusszeile;
    case RenderMode::kDrucken:
      return settings.layouts.format;
  }
  return settings.layouts.vorschau;
}

bool NeedsSong(RenderMode mode) {
  return mode != RenderMode::kLayout && mode != RenderMode::kFreetext && mode != RenderMode::kKopfzeile &&
         mode != RenderMode::kDrucken;
}

// The song ids of the render list: the positional id, then those of --songs.
std::vector<std::string> SongIds(const ParsedArguments& parsed) {
  std::vector<std::string> ids;
  if (parsed.positional.size() > 1) ids.push_back(Utf8ToCp1252(parsed.positional[1]));
  if (const std::optional<std::string> songs = parsed.Option("--songs")) {
    std::istringstream list(*songs);
    for (std::string id; std::getline(list, id, ',');) {
      if (!id.empty()) ids.push_back(Utf8ToCp1252(id));
    }
  }
  return ids;
}

int Render(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed =
      ParseArguments(arguments, {"--transpose", "--slide", "--layout", "--songs", "--text"}, {"--two-columns"});
  if (!parsed.error.empty()) return context.UsageFail("render", parsed.error);
  if (parsed.positional.empty() || parsed.positional.size() > 2) {
    return context.UsageFail("render", "render needs a mode and a song id");
  }
  const std::optional<RenderMode> mode = RenderModeFromWord(parsed.positional[0]);
  if (!mode) return context.UsageFail("render", "unknown mode " + parsed.positional[0]);
  const std::vector<std::string> ids = SongIds(parsed);
  if (NeedsSong(*mode) && ids.size() != 1) return context.UsageFail("render", "this mode renders one song id");
  if (*mode == RenderMode::kDrucken && ids.empty()) return context.UsageFail("render", "drucken needs --songs");
  const std::string transpose = parsed.Option("--transpose").value_or("0");
  if (!WholeNumber(transpose)) return context.UsageFail("render", "--transpose takes a whole number");
  long long slide = 0;
  if (const std::optional<std::string> text = parsed.Option("--slide")) {
    const std::optional<long long> value = WholeNumber(*text);
    if (!value || *value < 0 || *value > 1000000) return context.UsageFail("render", "--slide takes a number >= 0");
    slide = *value;
  }

  const std::optional<SongStore> store = context.OpenSongStore();
  if (!store) return kExitError;
  RenderRequest request;
  request.mode = *mode;
  for (const std::string& id : ids) {
    if (!store->FindSongPosition(id)) return context.Fail("no song with the id " + Cp1252ToUtf8(id));
    request.renderList.push_back(store->FindSongRecord(id));
  }
  const Settings settings = LoadSettings(context.SettingsFile(), std::string());
  request.layoutKey = Utf8ToCp1252(parsed.Option("--layout").value_or(DefaultLayoutKey(*mode, settings)));
  request.transposeOffset = transpose;
  request.twoColumns = parsed.Flag("--two-columns");
  request.freeText = request.headerText = Utf8ToCp1252(parsed.Option("--text").value_or(""));

  RenderState state;
  state.paging.currentSlide = static_cast<int>(slide);
  state.paging.keepSlide = true;  // the slide asked for, not the first one of a newly shown song
  const RenderFolders folders{store->Files().folder, context.ProgramFolder() / "layouts"};
  const RenderResult result = RenderPage(request, folders, state);
  if (!result.written) return context.Fail("cannot write " + result.page.string() + ": " + result.error);
  context.out << result.page.string() << "\n";
  return kExitOk;
}

int Transpose(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) return context.UsageFail("transpose", "transpose needs a chord and an offset");
  if (!WholeNumber(arguments[1])) return context.UsageFail("transpose", "not a whole number: " + arguments[1]);
  context.out << ForTerminal(TransposeChord(Utf8ToCp1252(arguments[0]), arguments[1])) << "\n";
  return kExitOk;
}

int ExpandInline(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return context.UsageFail("expand-inline", "expand-inline needs one line");
  for (const std::string& line : ExpandInlineChords(Utf8ToCp1252(arguments[0]))) {
    context.out << ForTerminal(line) << "\n";
  }
  return kExitOk;
}

int Copy(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {"--transpose"});
  if (!parsed.error.empty()) return context.UsageFail("copy", parsed.error);
  if (parsed.positional.size() != 1) return context.UsageFail("copy", "copy needs one song id");
  const std::string transpose = parsed.Option("--transpose").value_or("0");
  if (!WholeNumber(transpose)) return context.UsageFail("copy", "--transpose takes a whole number");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const std::string id = Utf8ToCp1252(parsed.positional[0]);
  if (!store->FindSongPosition(id)) return context.Fail("no song with the id " + parsed.positional[0]);
  const std::optional<SongCopy> copy = CopySong(*store, store->FindSongRecord(id), transpose);
  if (!copy || !copy->saved) return context.Fail("the copy could not be saved");
  context.out << Cp1252ToUtf8(copy->id) << "\n";
  return kExitOk;
}

}  // namespace

std::vector<Command> RenderCommands() {
  return {
      {"render", "MODE ID [--transpose N] [--slide N] [--two-columns] [--layout KEY] [--songs ID,ID] [--text T]",
       "write the page of a render mode into the data folder and print its path", Render},
      {"transpose", "CHORD OFFSET", "the chord transposed by OFFSET semitones", Transpose},
      {"expand-inline", "LINE", "an inline-chord line as chord line and text line", ExpandInline},
      {"copy", "ID [--transpose N]", "save a copy of a song (chords transposed) and print its id", Copy},
  };
}

}  // namespace psalmora::cli
