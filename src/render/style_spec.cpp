#include "render/style_spec.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/record_fields.h"

namespace psalmora {
namespace {

constexpr int kLargest = 100;
constexpr int kSmallest = 1;
constexpr int kStep = 2;

std::string JoinFields(const std::array<std::string, 8>& fields, std::size_t count) {
  std::string spec;
  for (std::size_t i = 0; i < count; ++i) {
    spec += fields[i];
    spec += '|';
  }
  return spec;
}

std::array<std::string, 8> Fields(std::string_view spec) {
  std::array<std::string, 8> fields;
  for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = std::string(PartAt(spec, static_cast<int>(i) + 1));
  return fields;
}

// shownFlag is nothing for the lyrics, whose flag "update" keeps.
std::string AdjustedSpec(std::string_view spec, StyleAdjustment action, std::optional<bool> shownFlag) {
  std::array<std::string, 8> fields = Fields(spec);
  const long long size = LeadingNumber(fields[5]);
  switch (action) {
    case StyleAdjustment::kLarger:
      if (size < kLargest) fields[5] = std::to_string(size + kStep);
      break;
    case StyleAdjustment::kSmaller:
      // Stepping 2 down from 2 would give 0 px, an invisible text; 1 is the floor.
      if (size > kSmallest) fields[5] = std::to_string(std::max<long long>(kSmallest, size - kStep));
      break;
    case StyleAdjustment::kUpdateShown:
      if (shownFlag) fields[1] = *shownFlag ? "1" : "0";
      break;
  }
  return JoinFields(fields, fields.size());
}

}  // namespace

TextStyle ParseStyleSpec(std::string_view spec) {
  std::array<std::string, 8> f = Fields(spec);
  return TextStyle{std::move(f[0]), std::move(f[1]), std::move(f[2]), std::move(f[3]),
                   std::move(f[4]), std::move(f[5]), std::move(f[6]), std::move(f[7])};
}

Outline ParseOutline(std::string_view line) {
  const std::size_t dash = line.find('-');
  const std::string_view flag = line.substr(0, dash);
  const std::string_view colour = dash == std::string_view::npos ? std::string_view() : line.substr(dash + 1);
  return Outline{LeadingNumber(flag) != 0, static_cast<unsigned long>(LeadingNumber(colour)) & 0xFFFFFFul};
}

std::string OutlineHexColour(unsigned long colour) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex = "#";
  for (const unsigned shift : {0u, 8u, 16u}) {
    const unsigned long byte = (colour >> shift) & 0xFFu;
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xFu];
  }
  return hex;
}

bool AdjustLayoutStyles(Layout& layout, StyleAdjustment action, const std::filesystem::path& layoutFolder,
                        std::string_view key, bool chordsShown, bool translationShown) {
  if (layout.lines.size() < static_cast<std::size_t>(layout_line::kTranslationStyle)) return false;
  const auto at = [&](int line) -> std::string& { return layout.lines[static_cast<std::size_t>(line) - 1]; };
  at(layout_line::kChordStyle) = AdjustedSpec(at(layout_line::kChordStyle), action, chordsShown);
  at(layout_line::kTextStyle) = AdjustedSpec(at(layout_line::kTextStyle), action, std::nullopt);
  at(layout_line::kTranslationStyle) = AdjustedSpec(at(layout_line::kTranslationStyle), action, translationShown);
  return SaveLayout(layoutFolder, key, layout);
}

std::string SetStyleShownFlag(std::string_view spec, bool shown) {
  std::array<std::string, 8> fields = Fields(spec);
  fields[1] = shown ? "1" : "0";
  return JoinFields(fields, 7);
}

std::string EditedStyleSpec(std::string_view spec, std::string_view font, bool italic, int weight, int pointSize,
                            int red, int green, int blue) {
  std::string out(PartAt(spec, 1));
  out += '|';
  out += PartAt(spec, 2);
  out += '|';
  out += font;
  out += italic ? "|-1|" : "|0|";
  out += std::to_string(weight) + "|" + std::to_string(pointSize) + "|";
  out += std::to_string(red) + "," + std::to_string(green) + "," + std::to_string(blue);
  return out;
}

}  // namespace psalmora
