// The book table and the name lookup behind references and the importers.
#include "bible/bible_books.h"

#include <algorithm>

namespace psalmora {

const std::vector<BibleBook>& BibleBooks() {
  static const std::vector<BibleBook> books = {
      {0, "Gen", "AT", "1.Mose", "1. Mose", "Genesis", "1mo|1mos|gen|gn"},
      {1, "Exod", "AT", "2.Mose", "2. Mose", "Exodus", "2mo|2mos|ex|exo|exod"},
      {2, "Lev", "AT", "3.Mose", "3. Mose", "Leviticus", "3mo|3mos|lev|lv"},
      {3, "Num", "AT", "4.Mose", "4. Mose", "Numbers", "4mo|4mos|num|nu"},
      {4, "Deut", "AT", "5.Mose", "5. Mose", "Deuteronomy", "5mo|5mos|dtn|deut|dt"},
      {5, "Josh", "AT", "Josua", "Josua", "Joshua", "jos|josh"},
      {6, "Judg", "AT", "Richter", "Richter", "Judges", "ri|richt|judg|jdg"},
      {7, "Ruth", "AT", "Rut", "Rut", "Ruth", "rt"},
      {8, "1Sam", "AT", "1.Samuel", "1. Samuel", "1 Samuel", "1sam|1sm"},
      {9, "2Sam", "AT", "2.Samuel", "2. Samuel", "2 Samuel", "2sam|2sm"},
      {10, "1Kgs", "AT", "1.K\xF6nige", "1. K\xF6nige", "1 Kings", "1kon|1kg|1kgs|1ki"},
      {11, "2Kgs", "AT", "2.K\xF6nige", "2. K\xF6nige", "2 Kings", "2kon|2kg|2kgs|2ki"},
      {12, "1Chr", "AT", "1.Chronik", "1. Chronik", "1 Chronicles", "1chr|1chron"},
      {13, "2Chr", "AT", "2.Chronik", "2. Chronik", "2 Chronicles", "2chr|2chron"},
      {14, "Ezra", "AT", "Esra", "Esra", "Ezra", "esr|ezr"},
      {15, "Neh", "AT", "Nehemia", "Nehemia", "Nehemiah", "neh"},
      {16, "Esth", "AT", "Ester", "Ester", "Esther", "est|esth"},
      {17, "Job", "AT", "Hiob", "Hiob", "Job", "hi|ijob"},
      {18, "Ps", "AT", "Psalmen", "Psalmen", "Psalms", "ps|psalm|psa|pss"},
      {19, "Prov", "AT",
       "Spr\xFC"
       "che",
       "Spr\xFC"
       "che",
       "Proverbs", "spr|prov|prv"},
      {20, "Eccl", "AT", "Prediger", "Prediger", "Ecclesiastes", "pred|koh|kohelet|eccl|ecc|qoh"},
      {21, "Song", "AT", "Hohelied", "Hohelied", "Song of Solomon", "hl|hld|hoheslied|songofsongs|sos"},
      {22, "Isa", "AT", "Jesaja", "Jesaja", "Isaiah", "jes|isa"},
      {23, "Jer", "AT", "Jeremia", "Jeremia", "Jeremiah", "jer"},
      {24, "Lam", "AT", "Klagelieder", "Klagelieder", "Lamentations", "klgl|klag|lam"},
      {25, "Ezek", "AT", "Hesekiel", "Hesekiel", "Ezekiel", "hes|ez|ezek|ezechiel"},
      {26, "Dan", "AT", "Daniel", "Daniel", "Daniel", "dan|dn"},
      {27, "Hos", "AT", "Hosea", "Hosea", "Hosea", "hos"},
      {28, "Joel", "AT", "Joel", "Joel", "Joel", "jl"},
      {29, "Amos", "AT", "Amos", "Amos", "Amos", "am"},
      {30, "Obad", "AT", "Obadja", "Obadja", "Obadiah", "obd|ob|obad"},
      {31, "Jonah", "AT", "Jona", "Jona", "Jonah", "jon"},
      {32, "Mic", "AT", "Micha", "Micha", "Micah", "mi|mic"},
      {33, "Nah", "AT", "Nahum", "Nahum", "Nahum", "nah"},
      {34, "Hab", "AT", "Habakuk", "Habakuk", "Habakkuk", "hab"},
      {35, "Zeph", "AT", "Zefanja", "Zefanja", "Zephaniah", "zef|zeph|zep"},
      {36, "Hag", "AT", "Haggai", "Haggai", "Haggai", "hag"},
      {37, "Zech", "AT", "Sacharja", "Sacharja", "Zechariah", "sach|zech|zec"},
      {38, "Mal", "AT", "Maleachi", "Maleachi", "Malachi", "mal"},
      {39, "Tob", "Apokryphen", "Tobit", "Tobit", "Tobit", "tob"},
      {40, "Jdt", "Apokryphen", "Judit", "Judit", "Judith", "jdt"},
      {41, "AddEsth", "Apokryphen",
       "St\xFC"
       "cke-zu-Ester",
       "St\xFC"
       "cke zu Ester",
       "Additions to Esther", "stest|zusest|addesth|esthgr"},
      {42, "Wis", "Apokryphen", "Weisheit", "Weisheit", "Wisdom", "weish|wis|wisdomofsolomon"},
      {43, "Sir", "Apokryphen", "Sirach", "Jesus Sirach", "Sirach", "sir|ecclus"},
      {44, "Bar", "Apokryphen", "Baruch", "Baruch", "Baruch", "bar"},
      {45, "EpJer", "Apokryphen", "Brief-des-Jeremia", "Brief des Jeremia", "Letter of Jeremiah", "epjer|brjer"},
      {46, "PrAzar", "Apokryphen", "Gebet-Asarjas", "Gebet Asarjas", "Prayer of Azariah", "prazar|asar"},
      {47, "Sus", "Apokryphen", "Susanna", "Susanna", "Susanna", "sus"},
      {48, "Bel", "Apokryphen", "Bel-und-Drache", "Bel und Drache", "Bel and the Dragon", "bel"},
      {49, "AddDan", "Apokryphen",
       "St\xFC"
       "cke-zu-Daniel",
       "St\xFC"
       "cke zu Daniel",
       "Additions to Daniel", "stdan|zusdan|adddan|dangr"},
      {50, "1Macc", "Apokryphen",
       "1.Makkab\xE4"
       "er",
       "1. Makkab\xE4"
       "er",
       "1 Maccabees", "1makk|1macc|1mac|1mak"},
      {51, "2Macc", "Apokryphen",
       "2.Makkab\xE4"
       "er",
       "2. Makkab\xE4"
       "er",
       "2 Maccabees", "2makk|2macc|2mac|2mak"},
      {52, "1Esd", "Apokryphen", "3.Esra", "3. Esra", "1 Esdras", "1esd|3esr"},
      {53, "2Esd", "Apokryphen", "4.Esra", "4. Esra", "2 Esdras", "2esd|4esr"},
      {54, "PrMan", "Apokryphen", "Gebet-Manasse", "Gebet Manasse", "Prayer of Manasseh", "prman|gebman|orman"},
      {55, "Matt", "NT", "Matth\xE4us", "Matth\xE4us", "Matthew", "mt|matt|mat|mth"},
      {56, "Mark", "NT", "Markus", "Markus", "Mark", "mk|mr|mar|mrk"},
      {57, "Luke", "NT", "Lukas", "Lukas", "Luke", "lk|luk"},
      {58, "John", "NT", "Johannes", "Johannes", "John", "joh|jn|jhn"},
      {59, "Acts", "NT", "Apostelgeschichte", "Apostelgeschichte", "Acts", "apg|act"},
      {60, "Rom", "NT", "R\xF6mer", "R\xF6mer", "Romans", "rom|rm|ro"},
      {61, "1Cor", "NT", "1.Korinther", "1. Korinther", "1 Corinthians", "1kor|1cor|1co"},
      {62, "2Cor", "NT", "2.Korinther", "2. Korinther", "2 Corinthians", "2kor|2cor|2co"},
      {63, "Gal", "NT", "Galater", "Galater", "Galatians", "gal"},
      {64, "Eph", "NT", "Epheser", "Epheser", "Ephesians", "eph"},
      {65, "Phil", "NT", "Philipper", "Philipper", "Philippians", "phil|php|phl"},
      {66, "Col", "NT", "Kolosser", "Kolosser", "Colossians", "kol|col"},
      {67, "1Thess", "NT", "1.Thessalonicher", "1. Thessalonicher", "1 Thessalonians", "1thess|1thes|1th"},
      {68, "2Thess", "NT", "2.Thessalonicher", "2. Thessalonicher", "2 Thessalonians", "2thess|2thes|2th"},
      {69, "1Tim", "NT", "1.Timotheus", "1. Timotheus", "1 Timothy", "1tim|1ti"},
      {70, "2Tim", "NT", "2.Timotheus", "2. Timotheus", "2 Timothy", "2tim|2ti"},
      {71, "Titus", "NT", "Titus", "Titus", "Titus", "tit"},
      {72, "Phlm", "NT", "Philemon", "Philemon", "Philemon", "phlm|phm|philem|phim"},
      {73, "Heb", "NT",
       "Hebr\xE4"
       "er",
       "Hebr\xE4"
       "er",
       "Hebrews", "hebr|heb"},
      {74, "Jas", "NT", "Jakobus", "Jakobus", "James", "jak|jas|jam|jk"},
      {75, "1Pet", "NT", "1.Petrus", "1. Petrus", "1 Peter", "1petr|1pet|1pt|1pe"},
      {76, "2Pet", "NT", "2.Petrus", "2. Petrus", "2 Peter", "2petr|2pet|2pt|2pe"},
      {77, "1John", "NT", "1.Johannes", "1. Johannes", "1 John", "1joh|1jn|1jhn"},
      {78, "2John", "NT", "2.Johannes", "2. Johannes", "2 John", "2joh|2jn|2jhn"},
      {79, "3John", "NT", "3.Johannes", "3. Johannes", "3 John", "3joh|3jn|3jhn"},
      {80, "Jude", "NT", "Judas", "Judas", "Jude", "jud"},
      {81, "Rev", "NT", "Offenbarung", "Offenbarung", "Revelation", "offb|off|rev|apk|offenb|rv"},
  };
  return books;
}

std::string NormalizeBookName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == ' ' || byte == '.' || byte == '\t' || byte == '-' || byte == '_') continue;
    if (byte >= 'A' && byte <= 'Z') {
      out += static_cast<char>(byte + 32);
      continue;
    }
    switch (byte) {  // Windows-1252 umlauts
      case 0xC4:
      case 0xE4:
        out += 'a';
        break;
      case 0xD6:
      case 0xF6:
        out += 'o';
        break;
      case 0xDC:
      case 0xFC:
        out += 'u';
        break;
      case 0xDF:
        out += "ss";
        break;
      default:
        out += c;
    }
  }
  return out;
}

namespace {

bool AliasListHas(std::string_view aliases, std::string_view wanted) {
  while (!aliases.empty()) {
    const std::size_t bar = aliases.find('|');
    if (aliases.substr(0, bar) == wanted) return true;
    if (bar == std::string_view::npos) break;
    aliases.remove_prefix(bar + 1);
  }
  return false;
}

}  // namespace

const BibleBook* FindBibleBook(std::string_view name) {
  const std::string wanted = NormalizeBookName(name);
  if (wanted.empty()) return nullptr;
  for (const BibleBook& book : BibleBooks()) {
    if (wanted == NormalizeBookName(book.german) || wanted == NormalizeBookName(book.english) ||
        wanted == NormalizeBookName(book.indexName) || wanted == NormalizeBookName(book.osisId) ||
        AliasListHas(book.aliases, wanted)) {
      return &book;
    }
  }
  // The beginning of one full name only: "Offenb", "Phile", "Deuteron". Two letters are too few to tell.
  const std::size_t letters =
      static_cast<std::size_t>(std::count_if(wanted.begin(), wanted.end(), [](char c) { return c < '0' || c > '9'; }));
  if (letters < 3) return nullptr;
  const BibleBook* found = nullptr;
  for (const BibleBook& book : BibleBooks()) {
    const std::string german = NormalizeBookName(book.german);
    const std::string english = NormalizeBookName(book.english);
    if (german.starts_with(wanted) || english.starts_with(wanted)) {
      if (found) return nullptr;
      found = &book;
    }
  }
  return found;
}

const BibleBook* BookByOsisId(std::string_view osisId) {
  for (const BibleBook& book : BibleBooks()) {
    if (book.osisId == osisId) return &book;
  }
  return nullptr;
}

}  // namespace psalmora
