// JSON of the stage and remote pages, written by hand: a handful of fixed shapes, no parser needed.
#include "stage/stage_state.h"

#include <cstdio>

#include "core/text_encoding.h"
#include "render/transpose.h"

namespace psalmora {
namespace {

void AppendBool(std::string& out, const char* name, bool value) {
  out += '"';
  out += name;
  out += value ? "\":true," : "\":false,";
}

void AppendNumber(std::string& out, const char* name, long long value) {
  out += '"';
  out += name;
  out += "\":";
  out += std::to_string(value);
  out += ',';
}

void AppendField(std::string& out, const char* name, std::string_view text) {
  out += '"';
  out += name;
  out += "\":";
  AppendJsonString(out, text);
  out += ',';
}

// Transposition of a trimmed chord, as UTF-8.
std::string ChordText(const std::string& chord, long long offset) {
  if (chord.empty()) return {};
  return Cp1252ToUtf8(offset == 0 ? chord : TransposeChordBy(chord, offset));
}

void AppendLine(std::string& out, const StageLine& line, long long offset) {
  switch (line.kind) {
    case StageLineKind::kBlank:
      out += "{\"k\":\"b\"}";
      return;
    case StageLineKind::kText:
    case StageLineKind::kTranslation:
      out += line.kind == StageLineKind::kText ? "{\"k\":\"t\",\"x\":" : "{\"k\":\"u\",\"x\":";
      AppendJsonString(out, line.text);
      out += '}';
      return;
    case StageLineKind::kChords:
      out += "{\"k\":\"c\",\"c\":[";
      for (std::size_t i = 0; i < line.cells.size(); ++i) {
        if (i > 0) out += ',';
        out += '[';
        AppendJsonString(out, ChordText(line.cells[i].chord, offset));
        out += ',';
        AppendJsonString(out, line.cells[i].text);
        out += ']';
      }
      out += "]}";
      return;
  }
}

void AppendSong(std::string& out, const StageSong& song, long long chordOffset, long long keyOffset) {
  out += '{';
  AppendField(out, "id", Cp1252ToUtf8(song.id));
  AppendField(out, "title", song.title);
  AppendField(out, "key", Cp1252ToUtf8(keyOffset == 0 ? song.key : TransposeKey(song.key, keyOffset)));
  AppendField(out, "tempo", song.tempo);
  out += "\"order\":[";
  for (std::size_t i = 0; i < song.order.size(); ++i) {
    if (i > 0) out += ',';
    AppendJsonString(out, song.order[i]);
  }
  out += "],\"blocks\":[";
  for (std::size_t b = 0; b < song.blocks.size(); ++b) {
    if (b > 0) out += ',';
    out += '[';
    for (std::size_t l = 0; l < song.blocks[b].size(); ++l) {
      if (l > 0) out += ',';
      AppendLine(out, song.blocks[b][l], chordOffset);
    }
    out += ']';
  }
  out += "]}";
}

// The song after the one on the beamer in the selection, what "next" brings after the last slide.
std::string NextTitle(const StageState& state) {
  if (state.beamerRow < 0) return {};
  const std::size_t next = static_cast<std::size_t>(state.beamerRow) + 1;
  return next < state.selection.size() ? state.selection[next].title : std::string();
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '<':
      case '>':
      case '&': {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
        out += escaped;
        break;
      }
      default:
        if (byte < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

std::string StageJson(const StageState& state, std::uint64_t version, const StageView& view) {
  std::string out = "{";
  AppendNumber(out, "v", static_cast<long long>(version));
  AppendNumber(out, "transpose", view.transpose);
  AppendNumber(out, "capo", view.capo);
  AppendNumber(out, "slide", state.slide);
  AppendBool(out, "paging", state.paging);
  AppendBool(out, "black", state.black);
  AppendField(out, "next", NextTitle(state));
  out += "\"free\":";
  if (state.freeText) {
    AppendJsonString(out, *state.freeText);
  } else {
    out += "null";
  }
  out += ",\"song\":";
  if (state.song) {
    const long long key = state.songOffset + view.transpose;
    AppendSong(out, *state.song, key - view.capo, key);
  } else {
    out += "null";
  }
  out += '}';
  return out;
}

std::string RemoteJson(const StageState& state, std::uint64_t version) {
  std::string out = "{";
  AppendNumber(out, "v", static_cast<long long>(version));
  AppendField(out, "title", state.song ? state.song->title : std::string());
  AppendNumber(out, "slide", state.slide);
  AppendNumber(out, "slides", state.song ? static_cast<long long>(state.song->blocks.size()) : 0);
  AppendBool(out, "paging", state.paging);
  AppendBool(out, "black", state.black);
  AppendBool(out, "header", state.header);
  AppendBool(out, "footer", state.footer);
  AppendBool(out, "open", state.beamerOpen);
  AppendBool(out, "free", state.freeText.has_value());
  AppendNumber(out, "row", state.beamerRow);
  out += "\"selection\":{";
  AppendField(out, "name", state.selectionName);
  out += "\"songs\":[";
  for (std::size_t i = 0; i < state.selection.size(); ++i) {
    if (i > 0) out += ',';
    out += "{\"title\":";
    AppendJsonString(out, state.selection[i].title);
    out += '}';
  }
  out += "]}}";
  return out;
}

}  // namespace psalmora
