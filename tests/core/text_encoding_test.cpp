#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

TEST(TextEncoding, HighControlRangeMapsExactly) {
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Cp1252ToUtf8("\x84\x93\x94"), "\u201E\u201C\u201D");
  EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\u0178");
  EXPECT_EQ(Utf8ToCp1252("\u20AC\u2013\u2122"), "\x80\x96\x99");
}

TEST(TextEncoding, UmlautsAndSharpS) {
  EXPECT_EQ(Cp1252ToUtf8("\xC4\xD6\xDC\xE4\xF6\xFC\xDF"), "ÄÖÜäöüß");
  EXPECT_EQ(Utf8ToCp1252("Übersetzung"), "\xDC" "bersetzung");
}

TEST(TextEncoding, EveryByteRoundTripsIncludingUndefinedOnes) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  for (const char undefined : std::string("\x81\x8D\x8F\x90\x9D")) {
    const std::string one(1, undefined);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one);
  }
}

TEST(TextEncoding, CharactersOutsideTheCodePageBecomeReferencesAndComeBack) {
  EXPECT_EQ(Utf8ToCp1252("ł"), "&#322;");
  EXPECT_EQ(Utf8ToCp1252("Dvořák 🎵"), "Dvo&#345;\xE1k &#127925;");
  EXPECT_EQ(Cp1252ToUtf8("Dvo&#345;\xE1k &#127925;"), "Dvořák 🎵");
  EXPECT_EQ(Cp1252ToUtf8("&#x142;"), "ł");
}

TEST(TextEncoding, AmpersandsThatAreNotReferencesStayText) {
  EXPECT_EQ(Cp1252ToUtf8("Tom & Jerry &#; &#12 &#65;"), "Tom & Jerry &#; &#12 &#65;");
  EXPECT_EQ(Cp1252ToUtf8("&#99999999999;"), "&#99999999999;");
  EXPECT_EQ(Cp1252ToUtf8("&#55296;"), "&#55296;");  // a lone surrogate is no character
}

TEST(TextEncoding, InvalidUtf8IsKeptAsBytes) {
  EXPECT_EQ(Utf8ToCp1252("a\xE4" "b"), "a\xE4" "b");
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "\xC3");
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");  // overlong form
}

}  // namespace
}  // namespace psalmora

namespace psalmora {
namespace {

TEST(TextEncoding, IsValidUtf8RefusesWhatNoEncoderWrites) {
  EXPECT_TRUE(IsValidUtf8("Gr\xC3\xBC\xC3\x9F Gott \xE2\x82\xAC \xF0\x9F\x8E\xB5"));
  for (const char* bad : {"Gr\xFC\xDF", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

}  // namespace
}  // namespace psalmora
