#include "stage/stage_state.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

StageState StateWith(std::vector<std::string> lines, std::string key = "G") {
  StageState state;
  const std::string record = "1\t\tLied\t" + key + "\t\t\t\t\t\t\t\t\t\t\t\t120\t\t\t\t\t\t";
  state.song = std::make_shared<StageSong>(BuildStageSong(record, std::move(lines)));
  return state;
}

TEST(StageJsonTest, EachDeviceGetsItsOwnKeyAndCapo) {
  const StageState state = StateWith({">G      D", "Amazing grace"});
  struct Case {
    StageView view;
    const char* chords;
    const char* key;
  };
  const Case cases[] = {
      {{0, 0}, R"([["G","Amazing\u00a0"],["D","grace"]])", R"("key":"G")"},
      {{2, 0}, R"([["A","Amazing\u00a0"],["E","grace"]])", R"("key":"A")"},
      // Capo 2: the shapes of F and C sound as G and D; the key stays G.
      {{0, 2}, R"([["F","Amazing\u00a0"],["C","grace"]])", R"("key":"G")"},
      {{2, 2}, R"([["G","Amazing\u00a0"],["D","grace"]])", R"("key":"A")"},
  };
  for (const Case& c : cases) {
    std::string json = StageJson(state, 5, c.view);
    // The JSON keeps U+00A0 as bytes; compare on the escaped form written above.
    for (std::size_t at; (at = json.find("\xC2\xA0")) != std::string::npos;) json.replace(at, 2, "\\u00a0");
    EXPECT_NE(json.find(c.chords), std::string::npos) << json;
    EXPECT_NE(json.find(c.key), std::string::npos) << json;
  }
}

TEST(StageJsonTest, TheBeamersOwnTranspositionComesFirst) {
  StageState state = StateWith({">C", "Text"}, "C");
  state.songOffset = 2;
  const std::string json = StageJson(state, 1, {0, 0});
  EXPECT_NE(json.find(R"([["D","Text"]])"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("key":"D")"), std::string::npos) << json;
}

TEST(StageJsonTest, HostileTextCannotLeaveItsString) {
  StageState state = StateWith({"</script><img src=x onerror=alert(1)>\"\\"});
  state.freeText = "a\nb<";
  const std::string json = StageJson(state, 1, {});
  EXPECT_EQ(json.find('<'), std::string::npos);
  EXPECT_EQ(json.find('>'), std::string::npos);
  EXPECT_NE(json.find(R"(\"\\)"), std::string::npos);
  EXPECT_NE(json.find(R"("free":"a\nb\u003c")"), std::string::npos) << json;
}

TEST(StageJsonTest, NextSongOfTheSelection) {
  StageState state = StateWith({"x"});
  state.selection = {{"1", "Eins"}, {"2", "Zwei"}};
  state.beamerRow = 0;
  EXPECT_NE(StageJson(state, 1, {}).find(R"("next":"Zwei")"), std::string::npos);
  state.beamerRow = 1;
  EXPECT_NE(StageJson(state, 1, {}).find(R"("next":"")"), std::string::npos);
}

TEST(RemoteJsonTest, ShowsTheSelectionAndTheBeamer) {
  StageState state = StateWith({"a", "", "b"});
  state.selection = {{"1", "Eins"}, {"2", "Zw\xC3\xB6lf"}};
  state.selectionName = "Sonntag";
  state.slide = 2;
  state.paging = true;
  state.black = true;
  state.beamerRow = 1;
  EXPECT_EQ(RemoteJson(state, 9),
            "{\"v\":9,\"title\":\"Lied\",\"slide\":2,\"slides\":2,\"paging\":true,\"black\":true,\"header\":false,"
            "\"footer\":false,\"open\":false,\"free\":false,\"row\":1,\"selection\":{\"name\":\"Sonntag\","
            "\"songs\":[{\"title\":\"Eins\"},{\"title\":\"Zw\xC3\xB6lf\"}]}}");
}

}  // namespace
}  // namespace psalmora
