// The books of the Bible the program knows by name: their order, the group and name they get in
// "bibel/index.dat", and the German and English names and abbreviations people type in a reference.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

struct BibleBook {
  int rank = 0;                // position in the table; groups stand together in this order
  std::string_view osisId;     // "1Cor"
  std::string_view group;      // "AT", "Apokryphen", "NT"
  std::string_view indexName;  // one word without blanks, as "bibel/index.dat" spells it (Windows-1252)
  std::string_view german;     // "1. Korinther" (Windows-1252)
  std::string_view english;    // "1 Corinthians"
  std::string_view aliases;    // further abbreviations, "|"-separated, already in the form of NormalizeBookName
};

// The 66 books of the Protestant canon in their usual order, with the deuterocanonical books between
// the Old and the New Testament.
const std::vector<BibleBook>& BibleBooks();

// The book a name stands for: a full German or English name, an index name, an OSIS id or a common
// abbreviation ("Joh", "1. Kor", "Ps", "John", "1Cor"), any case, with or without dots and blanks. An
// unambiguous beginning of a full name ("Offenb") counts too. Windows-1252 bytes.
const BibleBook* FindBibleBook(std::string_view name);

// The book with this OSIS id ("Gen", "Matt"), exactly; nothing for an unknown id.
const BibleBook* BookByOsisId(std::string_view osisId);

// Lower case, without blanks and dots, umlauts and ß folded to a, o, u and ss: "1. Kön" -> "1kon".
std::string NormalizeBookName(std::string_view name);

}  // namespace psalmora
