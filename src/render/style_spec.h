// Style specifications of a layout ("ak|1|Arial|0|700|16|0,0,255"), the glow outline, and the changes the
// presentation controls make to them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "render/layout_file.h"

namespace psalmora {

// The eight "|"-separated fields of a style specification; missing fields are empty.
struct TextStyle {
  std::string id;          // "ak", "te", "ub", "ko": the HTML element id of the line kind
  std::string shown;       // "1" shows lines of this kind
  std::string font;        // CSS font-family
  std::string italic;      // "-1" means italic
  std::string weight;      // CSS font-weight
  std::string size;        // whole number of pixels
  std::string colour;      // "r,g,b"
  std::string background;  // CSS background-color

  bool IsShown() const { return shown == "1"; }
};

TextStyle ParseStyleSpec(std::string_view spec);

// The glow outline of line 10: flag, "-", colour with red in the low byte.
struct Outline {
  bool on = false;
  unsigned long colour = 0;
};

Outline ParseOutline(std::string_view line);

// "#RRGGBB" of a colour value with red in the low byte.
std::string OutlineHexColour(unsigned long colour);

enum class StyleAdjustment {
  kLarger,      // "groß": size + 2 while below 100
  kSmaller,     // "klein": size - 2 while above 1, never below 1
  kUpdateShown  // "update": shown flags of chords and translation from the presentation toggles
};

// Changes the chord, lyrics and translation specifications (lines 6-8; comments are never touched) of a
// layout loaded with LoadLayout, rebuilding each as fields 1 to 8 each followed by "|", and writes it back
// to the key's file. False (and nothing written) for a layout without those lines or a failed write.
bool AdjustLayoutStyles(Layout& layout, StyleAdjustment action, const std::filesystem::path& layoutFolder,
                        std::string_view key, bool chordsShown, bool translationShown);

// The style specification with its shown flag set, as the layout window's check box rebuilds it: fields 1 to 7
// each followed by "|" (the background colour is not carried over).
std::string SetStyleShownFlag(std::string_view spec, bool shown);

// The style specification after the font dialog confirmed a font: seven fields, no background colour.
std::string EditedStyleSpec(std::string_view spec, std::string_view font, bool italic, int weight, int pointSize,
                            int red, int green, int blue);

}  // namespace psalmora
