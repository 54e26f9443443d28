// The beamer as the stage pages see it: one immutable snapshot the interface thread hands over after
// every change, and its JSON for the stage page (in each device's own key) and for the remote page.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "stage/stage_song.h"

namespace psalmora {

struct StageSelectionSong {
  std::string id, title;  // UTF-8
};

struct StageState {
  std::shared_ptr<const StageSong> song;  // the song on the beamer; null before the first send
  long long songOffset = 0;               // the transposition it was sent in
  int slide = 0;                          // 1-based slide on the beamer; 0 with paging off
  bool paging = false, black = false, header = false, footer = false, beamerOpen = false;
  std::optional<std::string> freeText;  // UTF-8, while the free text is on the beamer
  std::string selectionName;            // UTF-8
  std::vector<StageSelectionSong> selection;
  int beamerRow = -1;  // the row of the song on the beamer in the selection, -1 when sent from elsewhere
};

// Per-device view: chords moved by transpose - capo (the shapes to play with the capo on), the key by
// transpose alone (what sounds).
struct StageView {
  int transpose = 0;
  int capo = 0;
};

// {"v":..,"song":{...}|null,"slide":..,"paging":..,"black":..,"free":..,"next":..,"transpose":..,"capo":..}
std::string StageJson(const StageState& state, std::uint64_t version, const StageView& view);

// {"v":..,"title":..,"slide":..,"slides":..,"paging":..,"black":..,"header":..,"footer":..,"open":..,
//  "free":..,"row":..,"selection":{"name":..,"songs":[..]}}
std::string RemoteJson(const StageState& state, std::uint64_t version);

// A JSON string literal of UTF-8 text; "<", ">" and "&" are escaped too, so the text stays inert even
// inside a script element.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace psalmora
