// The assignment rules ("Zuordnung") of the text and presentation import: one rule per assignable song
// field, saved as "importregel" in the group "voreinstellung" of the settings file.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace psalmora {

// Where a rule takes its value from.
enum class RuleSource { kFileName = 0, kFirstLine = 1, kLastLine = 2 };

struct AssignmentRule {
  bool assigned = false;  // an unassigned field stays empty
  RuleSource source = RuleSource::kFileName;
  bool split = false;
  std::string separator;  // only its first character is used
  int part = 0;           // 1 … 10; 0 when none was chosen, which acts as 1
  bool replace = false;
  std::string search;
  std::string replacement;

  bool operator==(const AssignmentRule&) const = default;
};

// The song fields that rules fill: schema fields 3 (Titel) to 21, in record order.
inline constexpr int kFirstAssignableField = 3;
inline constexpr std::size_t kAssignableFieldCount = 19;
using AssignmentRules = std::array<AssignmentRule, kAssignableFieldCount>;

// Display names of the assignable fields (the song schema's labels, Windows-1252), in rule order.
std::vector<std::string> AssignableFieldNames();

// One rule as its seven TAB-joined parts; an unassigned rule is empty. TAB, "|", CR, LF and "{" in the
// three texts are written as the words "{TAB}", "{STRICH}", "{CR}", "{LF}" and "{KLAMMER}", so no text
// a user types can break the setting's structure; reading turns the words back.
std::string FormatAssignmentRule(const AssignmentRule& rule);
AssignmentRule ParseAssignmentRule(std::string_view text);

// The setting's value: every rule followed by "|". Missing rules read as unassigned, surplus ones are
// ignored; a source, flag or part outside its range reads as the nearest valid value.
std::string FormatAssignmentRules(const AssignmentRules& rules);
AssignmentRules ParseAssignmentRules(std::string_view setting);

// The words above for the three texts of a rule, and back.
std::string EscapeRuleText(std::string_view text);
std::string UnescapeRuleText(std::string_view text);

// "importregel" of the settings file (all unassigned when the file or the key is missing), and its
// key-wise write.
AssignmentRules LoadImportRules(const std::filesystem::path& settingsFile);
WriteResult SaveImportRules(const std::filesystem::path& settingsFile, const AssignmentRules& rules);

// The value a rule takes from a file: its name up to the first ".", or its first or last line. Empty
// for an unassigned rule.
std::string EvaluateRule(const AssignmentRule& rule, std::string_view fileName, std::string_view firstLine,
                         std::string_view lastLine);

}  // namespace psalmora
