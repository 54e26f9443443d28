#include "core/record_fields.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

TEST(RecordFields, OneBasedFieldsAndEmptyBeyondTheEnd) {
  const std::string record = "7\t05.03.2018-14:07\tAmazing Grace\t";
  EXPECT_EQ(RecordField(record, 1), "7");
  EXPECT_EQ(RecordField(record, 3), "Amazing Grace");
  EXPECT_EQ(RecordField(record, 4), "");
  EXPECT_EQ(RecordField(record, 21), "");
  EXPECT_EQ(RecordField(record, 0), "7");
  EXPECT_EQ(RecordField(record, -5), "7");
  EXPECT_EQ(RecordField("", 1), "");
}

TEST(RecordFields, PartsAndCounts) {
  EXPECT_EQ(PartAt("2|Titel|feld|250", 2), "Titel");
  EXPECT_EQ(PartAt("16|Favourit|no", 4), "");
  EXPECT_EQ(SplitAt("a||b", '|'), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitAt("", '|'), (std::vector<std::string>{""}));
  EXPECT_EQ(CountOf("Neue Auswahl\t|1|2|3", '|'), 3);
}

TEST(RecordFields, JoinAtUndoesSplitAtEvenWithEmptyPieces) {
  for (const std::string text : {"", "a", "\tb", "a\t\tb\t", "\t\t"}) {
    EXPECT_EQ(JoinAt(SplitAt(text, '\t'), '\t'), text);
  }
  EXPECT_EQ(JoinAt({}, '|'), "");
  EXPECT_EQ(JoinAt({"", "x"}, '|'), "|x");
}

TEST(RecordFields, AllDigitsAcceptsOnlyPlainDigits) {
  EXPECT_TRUE(AllDigits("0"));
  EXPECT_TRUE(AllDigits("0123456789"));
  for (const char* text : {"", "+1", "-1", " 1", "1 ", "1a", "\xB9"}) EXPECT_FALSE(AllDigits(text)) << text;
}

TEST(RecordFields, LeadingNumberParse) {
  EXPECT_EQ(LeadingNumber("312"), 312);
  EXPECT_EQ(LeadingNumber("  42abc"), 42);
  EXPECT_EQ(LeadingNumber("-1"), -1);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("99999999999999999999999"), std::numeric_limits<long long>::max());
}

}  // namespace
}  // namespace psalmora
