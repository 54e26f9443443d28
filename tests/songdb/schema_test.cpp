#include "songdb/schema.h"

#include <gtest/gtest.h>

#include "core/record_fields.h"

namespace psalmora {
namespace {

TEST(SplitSchema, DropsLineFeedsAndCutsAtCarriageReturns) {
  EXPECT_EQ(SplitSchema("0|a|fix\r\n1|b\r\n2|c|feld|250"),
            (std::vector<std::string>{"0|a|fix", "1|b", "2|c|feld|250"}));
  // Rows = CR count + 1, so a trailing CR gives an empty last row and an empty text one empty row.
  EXPECT_EQ(SplitSchema("0|a\r"), (std::vector<std::string>{"0|a", ""}));
  EXPECT_EQ(SplitSchema(""), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitSchema("0|a\n|b"), (std::vector<std::string>{"0|a|b"}));
}

TEST(Schemas, HaveTheirRowCountsAndIndexesInOrder) {
  ASSERT_EQ(SongSchema().size(), 21u);
  ASSERT_EQ(SelectionSchema().size(), 8u);
  ASSERT_EQ(LayoutSchema().size(), 10u);
  for (const auto* schema : {&SongSchema(), &SelectionSchema(), &LayoutSchema()}) {
    for (std::size_t i = 0; i < schema->size(); ++i) EXPECT_EQ(PartAt((*schema)[i], 1), std::to_string(i));
  }
}

TEST(Schemas, KeepTheRowsExactly) {
  EXPECT_EQ(SongSchema()[0], "0|ID|fix|id");
  EXPECT_EQ(SongSchema()[1], "1|Erstellt am|fix");
  EXPECT_EQ(SongSchema()[2], "2|Titel|feld|250");
  EXPECT_EQ(SongSchema()[4], "4|Kategorie|pick|list");
  EXPECT_EQ(SongSchema()[11], "11|letzte \xC4nderung|fix|datum");
  EXPECT_EQ(SongSchema()[12], "12|Videoverkn\xFCpfung - ID|no|40");
  EXPECT_EQ(SongSchema()[13], "13|Ablauf|ablauf");
  EXPECT_EQ(SongSchema()[18], "18|globalid|no");
  EXPECT_EQ(SongSchema()[20], "20|textformatierung|no");
  EXPECT_EQ(SelectionSchema()[1], "1|allesongids");
  EXPECT_EQ(SelectionSchema()[7], "7|geaendert_von");
  EXPECT_EQ(LayoutSchema()[4], "4|LayoutCode|text|400");
  EXPECT_EQ(LayoutSchema()[7],
            "7|\xDC"
            "bersetzung|format|250");
  EXPECT_EQ(LayoutSchema()[9], "9|Textumrandung|outline");
}

TEST(Schemas, MissingPartsReadEmpty) {
  EXPECT_EQ(SchemaLabel("16|Favourit|no"), "Favourit");
  EXPECT_EQ(SchemaParameter("16|Favourit|no"), "");
  EXPECT_EQ(SchemaKindWord("1|name"), "");
  EXPECT_EQ(PartAt("1|name", 9), "");
  EXPECT_EQ(PartAt("1|name", 0), "1");
}

TEST(FieldKinds, AreReadFromTheKindWord) {
  EXPECT_EQ(KindOf(SongSchema()[0]), FieldKind::Fix);
  EXPECT_EQ(KindOf(SongSchema()[2]), FieldKind::Feld);
  EXPECT_EQ(KindOf(SongSchema()[4]), FieldKind::Pick);
  EXPECT_EQ(KindOf(SongSchema()[9]), FieldKind::Bild);
  EXPECT_EQ(KindOf(SongSchema()[10]), FieldKind::Numeric);
  EXPECT_EQ(KindOf(SongSchema()[12]), FieldKind::No);
  EXPECT_EQ(KindOf(SongSchema()[13]), FieldKind::Ablauf);
  EXPECT_EQ(KindOf(LayoutSchema()[4]), FieldKind::Text);
  EXPECT_EQ(KindOf(LayoutSchema()[5]), FieldKind::Format);
  EXPECT_EQ(KindOf(LayoutSchema()[9]), FieldKind::Outline);
  EXPECT_EQ(KindOf("5|x|feld2|200"), FieldKind::Feld2);
  EXPECT_EQ(KindOf("5|x|Feld"), FieldKind::Unknown);  // kind words are exact
  EXPECT_EQ(KindOf(SelectionSchema()[0]), FieldKind::Unknown);
}

TEST(FieldWidth, IsTheParameterOr350WhenEmptyOr0WhenNotANumber) {
  EXPECT_EQ(FieldWidth("2|Titel|feld|250"), 250);
  EXPECT_EQ(FieldWidth("15|Tempo|numeric|30"), 30);
  EXPECT_EQ(FieldWidth("1|Erstellt am|fix"), 350);
  EXPECT_EQ(FieldWidth("16|Favourit|no"), 350);
  EXPECT_EQ(FieldWidth("0|ID|fix|id"), 0);
  EXPECT_EQ(FieldWidth("4|Kategorie|pick|list"), 0);
}

}  // namespace
}  // namespace psalmora
