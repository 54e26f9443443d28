#include "transfer/assignment_rules.h"

#include <gtest/gtest.h>

#include <random>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

AssignmentRule Rule(RuleSource source, std::string separator = "", int part = 0, std::string search = "",
                    std::string replacement = "") {
  AssignmentRule rule;
  rule.assigned = true;
  rule.source = source;
  rule.split = !separator.empty() || part != 0;
  rule.separator = std::move(separator);
  rule.part = part;
  rule.replace = !search.empty();
  rule.search = std::move(search);
  rule.replacement = std::move(replacement);
  return rule;
}

TEST(AssignmentRulesTest, FieldNamesRunFromTitelToTextformatierung) {
  const std::vector<std::string> names = AssignableFieldNames();
  ASSERT_EQ(names.size(), 19u);
  EXPECT_EQ(names.front(), "Titel");
  EXPECT_EQ(names[9], "letzte \xC4nderung");
  EXPECT_EQ(names.back(), "textformatierung");
}

TEST(AssignmentRulesTest, SettingTextReadsAsWritten) {
  AssignmentRules rules;
  rules[0] = Rule(RuleSource::kFirstLine);
  rules[5] = Rule(RuleSource::kLastLine, "-", 2, "(c)", "\xA9");
  const std::string text = FormatAssignmentRules(rules);
  EXPECT_EQ(text, "1\t0\t\t0\t0\t\t|||||2\t1\t-\t2\t1\t(c)\t\xA9||||||||||||||");
  EXPECT_EQ(ParseAssignmentRules(text), rules);
}

TEST(AssignmentRulesTest, OutOfRangeAndMissingPartsReadAsNearestValid) {
  const AssignmentRules rules = ParseAssignmentRules("7\t1\t,\t99\tx||-3");
  EXPECT_EQ(rules[0].source, RuleSource::kLastLine);
  EXPECT_EQ(rules[0].part, 10);
  EXPECT_FALSE(rules[0].replace);
  EXPECT_FALSE(rules[1].assigned);
  EXPECT_EQ(rules[2].source, RuleSource::kFileName);
  EXPECT_FALSE(rules[18].assigned);
}

// TAB and "|" would end the part or the rule, CR and LF the settings line.
TEST(AssignmentRulesTest, SeparatorAndTextsWithStructureCharactersSurviveTheSetting) {
  AssignmentRules rules;
  rules[0] = Rule(RuleSource::kFirstLine, "|", 2, "a\tb", "c\r\nd{TAB}");
  rules[1] = Rule(RuleSource::kFileName);
  const std::string text = FormatAssignmentRules(rules);
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 19);
  EXPECT_EQ(ParseAssignmentRules(text), rules);

  testing::TempDir dir;
  const std::filesystem::path ini = dir / "einstellungen.ini";
  testing::WriteFileBytes(ini, "[voreinstellung]\r\npfadimport=/x\r\n");
  ASSERT_TRUE(SaveImportRules(ini, rules));
  EXPECT_EQ(LoadImportRules(ini), rules);
  EXPECT_EQ(EvaluateRule(LoadImportRules(ini)[0], "", "Titel|a\tbX", ""), "c\r\nd{TAB}X");
}

TEST(AssignmentRulesTest, EvaluateTakesCutsReplacesAndTrims) {
  struct Case {
    AssignmentRule rule;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {Rule(RuleSource::kFileName), "Amazing"},
      {Rule(RuleSource::kFirstLine), "Erste - Zeile"},
      {Rule(RuleSource::kLastLine), "(c) 2001 Verlag"},
      {Rule(RuleSource::kFirstLine, "-", 2), "Zeile"},
      {Rule(RuleSource::kFirstLine, "-", 0), "Erste"},
      {Rule(RuleSource::kFirstLine, "-x", 1), "Erste"},
      {Rule(RuleSource::kFirstLine, "-", 3), ""},
      {Rule(RuleSource::kFirstLine, "", 2), ""},
      {Rule(RuleSource::kLastLine, "", 0, "(c)", "\xA9"), "\xA9 2001 Verlag"},
      {Rule(RuleSource::kLastLine, "", 0, "(C)", "x"), "(c) 2001 Verlag"},
      {AssignmentRule{}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EvaluateRule(c.rule, "Amazing.Grace.txt", " Erste - Zeile ", "(c) 2001 Verlag"), c.expected)
        << FormatAssignmentRule(c.rule);
  }
}

TEST(AssignmentRulesTest, MissingSettingsFileGivesNoRules) {
  testing::TempDir dir;
  EXPECT_EQ(LoadImportRules(dir / "missing.ini"), AssignmentRules{});
}

// Random bytes in every text: the setting always reads back as written, and parsing any text is safe.
TEST(AssignmentRulesTest, RandomRulesRoundTrip) {
  std::mt19937 random(20261207);
  auto randomText = [&random] {
    static constexpr std::string_view kAlphabet = "ab {}|\t\r\n-KLAMMERTABSTRICHCRLF\xA9\x81";
    std::string text(random() % 12, ' ');
    for (char& c : text) c = kAlphabet[random() % kAlphabet.size()];
    return text;
  };
  for (int iteration = 0; iteration < 2000; ++iteration) {
    AssignmentRules rules;
    for (AssignmentRule& rule : rules) {
      if (random() % 3 == 0) continue;
      rule = Rule(static_cast<RuleSource>(random() % 3), randomText(), static_cast<int>(random() % 11), randomText(),
                  randomText());
      rule.split = random() % 2;
      rule.replace = random() % 2;
    }
    const std::string text = FormatAssignmentRules(rules);
    ASSERT_EQ(ParseAssignmentRules(text), rules) << text;
    const AssignmentRules any = ParseAssignmentRules(randomText() + randomText() + randomText());
    for (const AssignmentRule& rule : any) (void)EvaluateRule(rule, randomText(), randomText(), randomText());
  }
}

}  // namespace
}  // namespace psalmora
