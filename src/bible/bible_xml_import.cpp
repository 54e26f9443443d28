// Zefania and OSIS readers on pugixml. The walks over the element tree are iterative, so a hostile file
// nested a million levels deep cannot exhaust the stack.
#include "bible/bible_xml_import.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <pugixml.hpp>
#include <set>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"

namespace psalmora {
namespace {

constexpr std::uintmax_t kLargestXmlFile = 512u * 1024u * 1024u;

bool NameIs(const pugi::xml_node& node, const char* name) {
  return std::strcmp(node.name(), name) == 0;
}

bool NameIsAnyCase(const pugi::xml_node& node, const char* name) {
  const char* a = node.name();
  for (; *a && *name; ++a, ++name) {
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*name))) return false;
  }
  return *a == *name;
}

// Visits every node below root in document order: enter(node) decides whether to go into its children,
// leave(node) follows its last child.
template <typename Enter, typename Leave>
void WalkBelow(const pugi::xml_node& root, Enter enter, Leave leave) {
  pugi::xml_node node = root.first_child();
  while (node) {
    if (enter(node) && node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node) {
      leave(node);
      if (node.next_sibling()) {
        node = node.next_sibling();
        break;
      }
      node = node.parent();
      if (node == root) return;
    }
  }
}

void AppendText(std::string& text, const pugi::xml_node& node) {
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
}

// ---- Zefania ----

// Footnotes, cross references and the like are not read out on the beamer.
bool ZefaniaSkips(const pugi::xml_node& node) {
  return NameIsAnyCase(node, "NOTE") || NameIsAnyCase(node, "XREF") || NameIsAnyCase(node, "CAPTION");
}

std::string ZefaniaVerseText(const pugi::xml_node& verse) {
  std::string text;
  WalkBelow(
      verse,
      [&](const pugi::xml_node& node) {
        if (node.type() == pugi::node_element) {
          if (NameIsAnyCase(node, "BR")) text += ' ';
          return !ZefaniaSkips(node);
        }
        AppendText(text, node);
        return false;
      },
      [](const pugi::xml_node&) {});
  return text;
}

const BibleBook* ZefaniaBook(const pugi::xml_node& book) {
  static const std::vector<const BibleBook*> protestant = [] {
    std::vector<const BibleBook*> books;
    for (const BibleBook& b : BibleBooks()) {
      if (b.group != "Apokryphen") books.push_back(&b);
    }
    return books;
  }();
  const int number = book.attribute("bnumber").as_int(0);
  if (number >= 1 && number <= static_cast<int>(protestant.size()))
    return protestant[static_cast<std::size_t>(number - 1)];
  for (const char* attribute : {"bname", "bsname"}) {
    const std::string name = Utf8ToCp1252(book.attribute(attribute).as_string());
    if (const BibleBook* found = FindBibleBook(name)) return found;
  }
  return nullptr;
}

void ReadZefania(const pugi::xml_node& root, ImportedBible& bible, const ImportProgress& progress) {
  std::string name = root.attribute("biblename").as_string();
  if (name.empty()) name = root.child("INFORMATION").child_value("title");
  bible.name = VerseTextFromUtf8(name);
  std::vector<pugi::xml_node> books;
  for (pugi::xml_node book : root.children()) {
    if (NameIsAnyCase(book, "BIBLEBOOK")) books.push_back(book);
  }
  int done = 0;
  for (const pugi::xml_node& book : books) {
    if (progress) progress(done++, static_cast<int>(books.size()));
    const BibleBook* known = ZefaniaBook(book);
    if (!known) {
      std::string label = book.attribute("bname").as_string();
      if (label.empty()) label = book.attribute("bnumber").as_string();
      bible.skippedBooks.push_back(label);
      continue;
    }
    for (pugi::xml_node chapter : book.children()) {
      if (!NameIsAnyCase(chapter, "CHAPTER")) continue;
      const int chapterNumber = chapter.attribute("cnumber").as_int(0);
      for (pugi::xml_node verse : chapter.children()) {
        if (!NameIsAnyCase(verse, "VERS")) continue;
        bible.AddVerse(*known, chapterNumber, verse.attribute("vnumber").as_int(0),
                       VerseTextFromUtf8(ZefaniaVerseText(verse)));
      }
    }
  }
  if (progress) progress(done, static_cast<int>(books.size()));
}

// ---- OSIS ----

bool OsisSkips(const pugi::xml_node& node) {
  return NameIs(node, "note") || NameIs(node, "title") || NameIs(node, "header") || NameIs(node, "rdg") ||
         NameIs(node, "speaker");
}

class OsisReader {
 public:
  OsisReader(ImportedBible& bible) : bible_(bible) {}

  void Read(const pugi::xml_node& osisText, const ImportProgress& progress) {
    int totalBooks = 0;
    WalkBelow(
        osisText,
        [&](const pugi::xml_node& node) {
          if (IsBookDiv(node)) ++totalBooks;
          return node.type() == pugi::node_element && !NameIs(node, "verse") && !OsisSkips(node);
        },
        [](const pugi::xml_node&) {});
    int books = 0;
    WalkBelow(
        osisText,
        [&](const pugi::xml_node& node) {
          if (node.type() != pugi::node_element) {
            if (!id_.empty()) AppendText(text_, node);
            return false;
          }
          if (IsBookDiv(node) && progress) progress(books++, totalBooks);
          if (NameIs(node, "verse")) return EnterVerse(node);
          if (NameIs(node, "lb") || NameIs(node, "l")) text_ += ' ';
          return !OsisSkips(node);
        },
        [&](const pugi::xml_node& node) {
          if (NameIs(node, "verse") && node.first_child()) Flush();
        });
    Flush();
    if (progress) progress(totalBooks, totalBooks);
  }

 private:
  static bool IsBookDiv(const pugi::xml_node& node) {
    return NameIs(node, "div") && std::strcmp(node.attribute("type").as_string(), "book") == 0;
  }

  // A verse element starts a verse (as a container or as the "sID" milestone) or ends one ("eID").
  bool EnterVerse(const pugi::xml_node& verse) {
    if (verse.attribute("eID")) {
      Flush();
      return false;
    }
    Flush();
    std::string id = verse.attribute("osisID").as_string();
    if (id.empty()) id = verse.attribute("sID").as_string();
    id_ = std::string(FieldAt(id, 1, ' '));
    return true;
  }

  void Flush() {
    if (id_.empty()) return;
    const std::string bookId(FieldAt(id_, 1, '.'));
    const int chapter = static_cast<int>(LeadingNumber(FieldAt(id_, 2, '.')));
    const int verse = static_cast<int>(LeadingNumber(FieldAt(id_, 3, '.')));
    const BibleBook* book = BookByOsisId(bookId);
    if (!book) book = FindBibleBook(Utf8ToCp1252(bookId));
    if (book) {
      bible_.AddVerse(*book, chapter, verse, VerseTextFromUtf8(text_));
    } else if (skipped_.insert(bookId).second) {
      bible_.skippedBooks.push_back(bookId);
    }
    id_.clear();
    text_.clear();
  }

  ImportedBible& bible_;
  std::string id_;    // osisID of the verse being read, empty between verses
  std::string text_;  // its text so far (UTF-8)
  std::set<std::string> skipped_;
};

void ReadOsis(const pugi::xml_node& root, ImportedBible& bible, const ImportProgress& progress) {
  const pugi::xml_node osisText = root.child("osisText");
  if (!osisText) {
    bible.error = "the OSIS file has no osisText element";
    return;
  }
  std::string name = osisText.child("header").child("work").child_value("title");
  if (name.empty()) name = osisText.attribute("osisIDWork").as_string();
  bible.name = VerseTextFromUtf8(name);
  OsisReader(bible).Read(osisText, progress);
}

ImportedBible ReadDocument(const pugi::xml_document& document, const pugi::xml_parse_result& parsed,
                           const ImportProgress& progress) {
  ImportedBible bible;
  if (!parsed) {
    bible.error =
        std::string("not well-formed XML: ") + parsed.description() + " at byte " + std::to_string(parsed.offset);
    return bible;
  }
  const pugi::xml_node root = document.document_element();
  if (NameIsAnyCase(root, "XMLBIBLE")) {
    ReadZefania(root, bible, progress);
  } else if (NameIs(root, "osis")) {
    ReadOsis(root, bible, progress);
  } else {
    bible.error =
        std::string("neither Zefania XML (XMLBIBLE) nor OSIS (osis): the root element is \"") + root.name() + "\"";
    return bible;
  }
  bible.Finish();
  return bible;
}

}  // namespace

ImportedBible ReadBibleXml(const std::filesystem::path& path, const ImportProgress& progress) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kLargestXmlFile) {
    ImportedBible bible;
    bible.error = path.string() + " is larger than 512 MiB";
    return bible;
  }
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content) {
    ImportedBible bible;
    bible.error = path.string() + " cannot be read";
    return bible;
  }
  return ReadBibleXmlText(*content, progress);
}

ImportedBible ReadBibleXmlText(std::string_view xml, const ImportProgress& progress) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
  return ReadDocument(document, parsed, progress);
}

}  // namespace psalmora
