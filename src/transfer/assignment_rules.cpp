// Assignment rules: their text form in "importregel" and the value each one takes from a file.
#include "transfer/assignment_rules.h"

#include <algorithm>
#include <utility>

#include "core/ini_file.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "songdb/schema.h"

namespace psalmora {
namespace {

constexpr std::string_view kRulesKey = "importregel";

// Longest first is not needed: every word starts with "{" and ends with "}" and none is a prefix of another.
constexpr std::array<std::pair<char, std::string_view>, 5> kWords{{
    {'{', "{KLAMMER}"}, {'\t', "{TAB}"}, {'|', "{STRICH}"}, {'\r', "{CR}"}, {'\n', "{LF}"}}};

int Clamp(long long value, int low, int high) {
  return static_cast<int>(std::clamp<long long>(value, low, high));
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string ReplaceEvery(std::string_view text, std::string_view search, std::string_view replacement) {
  if (search.empty()) return std::string(text);
  std::string out;
  std::size_t start = 0;
  for (std::size_t hit = text.find(search); hit != std::string_view::npos; hit = text.find(search, start)) {
    out.append(text.substr(start, hit - start));
    out.append(replacement);
    start = hit + search.size();
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace

std::vector<std::string> AssignableFieldNames() {
  std::vector<std::string> names;
  const std::vector<std::string>& schema = SongSchema();
  for (std::size_t row = kFirstAssignableField - 1; row < schema.size(); ++row) {
    names.emplace_back(SchemaLabel(schema[row]));
  }
  names.resize(kAssignableFieldCount);
  return names;
}

std::string EscapeRuleText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto word = std::find_if(kWords.begin(), kWords.end(), [c](const auto& entry) { return entry.first == c; });
    if (word == kWords.end()) {
      out += c;
    } else {
      out += word->second;
    }
  }
  return out;
}

std::string UnescapeRuleText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool matched = false;
    if (text[i] == '{') {
      for (const auto& [c, word] : kWords) {
        if (text.substr(i).starts_with(word)) {
          out += c;
          i += word.size();
          matched = true;
          break;
        }
      }
    }
    if (!matched) out += text[i++];
  }
  return out;
}

std::string FormatAssignmentRule(const AssignmentRule& rule) {
  if (!rule.assigned) return {};
  std::string out;
  out += std::to_string(static_cast<int>(rule.source));
  out += '\t';
  out += rule.split ? '1' : '0';
  out += '\t';
  out += EscapeRuleText(rule.separator);
  out += '\t';
  out += std::to_string(std::clamp(rule.part, 0, 10));
  out += '\t';
  out += rule.replace ? '1' : '0';
  out += '\t';
  out += EscapeRuleText(rule.search);
  out += '\t';
  out += EscapeRuleText(rule.replacement);
  return out;
}

AssignmentRule ParseAssignmentRule(std::string_view text) {
  AssignmentRule rule;
  if (text.empty()) return rule;
  rule.assigned = true;
  rule.source = static_cast<RuleSource>(Clamp(LeadingNumber(RecordField(text, 1)), 0, 2));
  rule.split = LeadingNumber(RecordField(text, 2)) != 0;
  rule.separator = UnescapeRuleText(RecordField(text, 3));
  rule.part = Clamp(LeadingNumber(RecordField(text, 4)), 0, 10);
  rule.replace = LeadingNumber(RecordField(text, 5)) != 0;
  rule.search = UnescapeRuleText(RecordField(text, 6));
  rule.replacement = UnescapeRuleText(RecordField(text, 7));
  return rule;
}

std::string FormatAssignmentRules(const AssignmentRules& rules) {
  std::string out;
  for (const AssignmentRule& rule : rules) {
    out += FormatAssignmentRule(rule);
    out += '|';
  }
  return out;
}

AssignmentRules ParseAssignmentRules(std::string_view setting) {
  AssignmentRules rules;
  for (std::size_t i = 0; i < rules.size(); ++i) rules[i] = ParseAssignmentRule(PartAt(setting, static_cast<int>(i) + 1));
  return rules;
}

AssignmentRules LoadImportRules(const std::filesystem::path& settingsFile) {
  return ParseAssignmentRules(IniFile::Load(settingsFile).ValueOr(kGroupPresets, kRulesKey, ""));
}

WriteResult SaveImportRules(const std::filesystem::path& settingsFile, const AssignmentRules& rules) {
  return WriteSettingKey(kGroupPresets, kRulesKey, FormatAssignmentRules(rules), settingsFile);
}

std::string EvaluateRule(const AssignmentRule& rule, std::string_view fileName, std::string_view firstLine,
                         std::string_view lastLine) {
  if (!rule.assigned) return {};
  std::string value;
  switch (rule.source) {
    case RuleSource::kFileName:
      value = fileName.substr(0, fileName.find('.'));
      break;
    case RuleSource::kFirstLine:
      value = firstLine;
      break;
    case RuleSource::kLastLine:
      value = lastLine;
      break;
  }
  if (rule.split) {
    const int part = std::max(rule.part, 1);
    // Without a separator the line is one part.
    value = rule.separator.empty() ? (part == 1 ? value : std::string())
                                   : std::string(FieldAt(value, part, rule.separator.front()));
  }
  if (rule.replace) value = ReplaceEvery(value, rule.search, rule.replacement);
  return std::string(TrimSpaces(value));
}

}  // namespace psalmora
