#include "render/render_page.h"

#include <array>

#include "core/record_fields.h"
#include "render/page_file.h"
#include "render/page_head.h"
#include "render/page_template.h"
#include "render/slides.h"
#include "render/song_html.h"
#include "render/song_lines.h"
#include "render/style_spec.h"
#include "render/transpose.h"
#include "songdb/schema.h"

namespace psalmora {
namespace {

struct ModeInfo {
  RenderMode mode;
  std::string_view word;
  std::string_view file;
  std::string_view settingKey;
  bool noScroll;
};

constexpr std::array<ModeInfo, 8> kModes = {{
    {RenderMode::kVorschau, "vorschau", "vorschau.htm", "vorschau", false},
    {RenderMode::kBeamerLied, "beamer-lied", "beamer.htm", "beamer", true},
    {RenderMode::kFreetext, "freetext", "beamer.htm", "beamer", true},
    {RenderMode::kKopfzeile, "kopfzeile", "akkord.htm", "beamer", true},
    {RenderMode::kAkkorde, "akkorde", "akkord.htm", "kopfzeile", true},
    {RenderMode::kFuss, "fuss", "fuss.htm", "fu\xDFzeile", true},
    {RenderMode::kDrucken, "drucken", "drucken.htm", "", false},
    {RenderMode::kLayout, "layout", "layout.htm", "", false},
}};

constexpr int kBackgroundImageField = 10;
constexpr char kOrderLineBreak = '\x81';

const ModeInfo& InfoOf(RenderMode mode) {
  for (const ModeInfo& info : kModes) {
    if (info.mode == mode) return info;
  }
  return kModes.front();
}

std::string SchemaLabelRecord() {
  std::string record;
  for (const std::string& row : SongSchema()) {
    if (!record.empty()) record += '\t';
    record += SchemaLabel(row);
  }
  return record;
}

std::vector<std::string> RenderListFor(const RenderRequest& request) {
  switch (request.mode) {
    case RenderMode::kFreetext:
    case RenderMode::kKopfzeile:
      return {std::string(RenderModeWord(request.mode))};
    case RenderMode::kLayout:
      return {SchemaLabelRecord()};
    default:
      return request.renderList;
  }
}

// The free text with each line end (CR LF, CR or LF) as "<br>", as one line.
std::string FreeTextLine(std::string_view text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      line += "<br>";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
    }
  }
  return line;
}

std::vector<std::string> SampleLines() {
  std::vector<std::string> lines = SplitAt(LayoutSampleText(), '\r');
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) {
      lines.resize(i + 1);
      break;
    }
  }
  return lines;
}

std::vector<std::string> LinesFor(const RenderRequest& request, std::string_view record, const RenderFolders& folders,
                                  const PagingState& paging, RenderResult& result) {
  switch (request.mode) {
    case RenderMode::kFreetext:
      return {FreeTextLine(request.freeText)};
    case RenderMode::kKopfzeile:
      return {request.headerText};
    case RenderMode::kLayout:
      return SampleLines();
    default:
      break;
  }
  SongLines lines = LoadSongLines(folders.dataFolder, RecordField(record, 1), IsInlineForm(record));
  if (request.mode != RenderMode::kBeamerLied) {
    EmptyLinesToSeparators(lines.render);
    return std::move(lines.render);
  }
  EmptyLinesToSeparators(lines.all);
  if (paging.currentSlide == 0) return std::move(lines.render);
  Slide slide = ChooseSlide(std::move(lines.all), paging.currentSlide);
  result.blockCount = slide.blockCount;
  result.currentSlide = paging.currentSlide;
  return std::move(slide.lines);
}

void SetWindowTexts(RenderMode mode, const std::string& record, RenderResult& result) {
  result.record = record;
  if (mode == RenderMode::kVorschau) {
    const std::string_view tempo = RecordField(record, song_field::kTempo);
    result.tempoText = tempo.empty() ? std::string("kein Tempo") : "Tempo: " + std::string(tempo) + " bpm";
    result.songOrderText = std::string(RecordField(record, song_field::kOrder));
    for (char& c : result.songOrderText) {
      if (c == kOrderLineBreak) c = '\r';
    }
  } else if (mode == RenderMode::kBeamerLied) {
    result.beamerSongId = std::string(RecordField(record, song_field::kId));
    result.beamerTitle = std::string(RecordField(record, song_field::kTitle));
  }
}

// The record as the template shows it: the key (field 4) moved with the chords. Only song records have
// one; "freetext", "kopfzeile" and "layout" show their own stand-ins.
std::string TemplateRecord(RenderMode mode, const std::string& record, long long offset) {
  if (offset == 0 || mode == RenderMode::kFreetext || mode == RenderMode::kKopfzeile || mode == RenderMode::kLayout)
    return record;
  std::vector<std::string> fields = SplitAt(record, '\t');
  if (fields.size() < static_cast<std::size_t>(song_field::kChords)) return record;
  std::string& key = fields[static_cast<std::size_t>(song_field::kChords) - 1];
  key = TransposeKey(key, offset);
  return JoinAt(fields, '\t');
}

SongTextOptions OptionsFor(const RenderRequest& request, const RenderState& state) {
  const Layout& layout = state.layout;
  SongTextOptions options;
  options.chordsShown = ParseStyleSpec(layout.Line(layout_line::kChordStyle)).IsShown();
  options.lyricsShown = ParseStyleSpec(layout.Line(layout_line::kTextStyle)).IsShown();
  options.translationShown = ParseStyleSpec(layout.Line(layout_line::kTranslationStyle)).IsShown();
  options.commentsShown = ParseStyleSpec(layout.Line(layout_line::kCommentStyle)).IsShown();
  options.slideMarkers = request.mode == RenderMode::kVorschau && state.paging.currentSlide != 0;
  options.twoColumns = request.mode == RenderMode::kVorschau && request.twoColumns;
  options.transposeOffset = LeadingNumber(request.transposeOffset);
  options.plainText = request.mode != RenderMode::kFreetext && request.mode != RenderMode::kKopfzeile;
  return options;
}

}  // namespace

std::optional<RenderMode> RenderModeFromWord(std::string_view word) {
  for (const ModeInfo& info : kModes) {
    if (info.word == word) return info.mode;
  }
  return std::nullopt;
}

std::string_view RenderModeWord(RenderMode mode) {
  return InfoOf(mode).word;
}
std::string_view PageFileName(RenderMode mode) {
  return InfoOf(mode).file;
}
std::string_view LayoutSettingKey(RenderMode mode) {
  return InfoOf(mode).settingKey;
}

std::string BuildPage(const RenderRequest& request, const RenderFolders& folders, RenderState& state,
                      RenderResult& result) {
  if (!request.layoutKey.empty()) state.layout = LoadLayout(folders.layoutFolder, request.layoutKey);
  const bool beamer = request.mode == RenderMode::kBeamerLied;
  if (beamer) {
    if (!state.paging.keepSlide && state.paging.currentSlide != 0) state.paging.currentSlide = 1;
    state.paging.keepSlide = false;
  }
  const std::vector<std::string> list = RenderListFor(request);
  result.load = !list.empty();
  if (!list.empty()) SetWindowTexts(request.mode, list.front(), result);

  const Layout& layout = state.layout;
  const SongTextOptions options = OptionsFor(request, state);
  const bool wideMargin = beamer || request.mode == RenderMode::kFreetext;
  std::string page;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string& record = list[i];
    const std::vector<std::string> lines = LinesFor(request, record, folders, state.paging, result);
    PageFrame frame;
    frame.noScroll = InfoOf(request.mode).noScroll;
    frame.backgroundImage = layout.Line(layout_line::kBackgroundImage);
    frame.styleBlock = i == 0;
    if (wideMargin) {
      frame.leftMargin = "30";
      const std::string_view songImage =
          RecordField(beamer ? std::string_view(record) : request.beamerSongRecord, kBackgroundImageField);
      if (!songImage.empty()) frame.backgroundImage = songImage;
    }
    WritePageHead(page, layout, frame);
    ProcessTemplate(layout.Line(layout_line::kTemplate), TemplateRecord(request.mode, record, options.transposeOffset),
                    static_cast<int>(i) + 1, page, [&](std::string& out) { WriteSongTextHtml(out, lines, options); });
    if (request.mode != RenderMode::kDrucken) break;
  }
  return page;
}

RenderResult RenderPage(const RenderRequest& request, const RenderFolders& folders, RenderState& state) {
  RenderResult result;
  const std::string page = BuildPage(request, folders, state, result);
  result.page = folders.dataFolder / PageFileName(request.mode);
  const WriteResult write = WritePageFile(result.page, page);
  result.written = write.ok;
  result.error = write.error;
  return result;
}

}  // namespace psalmora
