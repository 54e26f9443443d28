// A small recursive-descent reader for references; it works on bytes, so it never needs the text to be
// valid in any encoding.
#include "bible/bible_reference.h"

#include <optional>

namespace psalmora {
namespace {

constexpr int kLargestNumber = 9999;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\xA0';
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ >= text_.size();
  }
  char Peek() {
    SkipBlanks();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  std::optional<int> Number() {
    SkipBlanks();
    if (pos_ >= text_.size() || !IsDigit(text_[pos_])) return std::nullopt;
    int value = 0;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) {
      value = value * 10 + (text_[pos_] - '0');
      if (value > kLargestNumber) return std::nullopt;
      ++pos_;
    }
    if (value == 0) return std::nullopt;
    return value;
  }
  // A number directly followed by the chapter separator: the start of "4,2" after "-" or ";".
  bool ChapterAhead(char separator) {
    const std::size_t saved = pos_;
    const bool ahead = Number() && Take(separator) && Number();
    pos_ = saved;
    return ahead;
  }
  // Letters after a verse number: "f" one more verse, "ff" to the chapter's end, "a"/"b"/"c" a part of
  // the verse (the whole verse is shown).
  std::string_view Suffix() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] >= 'a' && text_[pos_] <= 'f') ++pos_;
    return text_.substr(start, pos_ - start);
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// One verse, range or "f"/"ff" item inside chapter; nothing when it cannot be read.
std::optional<VerseSpan> ReadVerseItem(Reader& reader, int chapter, char chapterSeparator) {
  const std::optional<int> first = reader.Number();
  if (!first) return std::nullopt;
  VerseSpan span{chapter, *first, chapter, *first};
  const std::string_view suffix = reader.Suffix();
  if (suffix == "f") {
    span.lastVerse = *first + 1;
    return span;
  }
  if (suffix == "ff") {
    span.lastVerse = 0;
    return span;
  }
  if (suffix.size() > 1 || suffix == "d" || suffix == "e") return std::nullopt;
  if (!reader.Take('-')) return span;
  if (reader.ChapterAhead(chapterSeparator)) {
    span.lastChapter = *reader.Number();
    reader.Take(chapterSeparator);
    span.lastVerse = *reader.Number();
    if (span.lastChapter < chapter) return std::nullopt;
  } else {
    const std::optional<int> last = reader.Number();
    if (!last || *last < *first) return std::nullopt;
    span.lastVerse = *last;
  }
  reader.Suffix();
  if (span.lastChapter == chapter && span.lastVerse < span.firstVerse) return std::nullopt;
  return span;
}

ReferenceError ReadChapterPart(Reader& reader, std::vector<VerseSpan>& spans) {
  std::optional<int> chapter = reader.Number();
  if (!chapter) return ReferenceError::kNoChapter;
  char separator = reader.Peek();
  if (separator != ',' && separator != ':') {
    VerseSpan span{*chapter, 0, *chapter, 0};
    if (reader.Take('-')) {
      const std::optional<int> last = reader.Number();
      if (!last || *last < *chapter) return ReferenceError::kBadVerses;
      span.lastChapter = *last;
    }
    spans.push_back(span);
    return reader.AtEnd() ? ReferenceError::kNone : ReferenceError::kBadVerses;
  }
  reader.Take(separator);
  const char listSeparator = separator == ',' ? '.' : ',';
  for (;;) {
    const std::optional<VerseSpan> item = ReadVerseItem(reader, *chapter, separator);
    if (!item) return ReferenceError::kBadVerses;
    spans.push_back(*item);
    if (reader.AtEnd()) return ReferenceError::kNone;
    if (reader.Take(listSeparator)) continue;
    if (!reader.Take(';')) return ReferenceError::kBadVerses;
    if (reader.ChapterAhead(separator)) {
      chapter = reader.Number();
      reader.Take(separator);
    }
  }
}

bool IsSingleChapterBook(const BibleBook& book) {
  for (std::string_view id : {"Obad", "Phlm", "2John", "3John", "Jude"}) {
    if (book.osisId == id) return true;
  }
  return false;
}

}  // namespace

std::string_view ReferenceErrorText(ReferenceError error) {
  switch (error) {
    case ReferenceError::kNone:
      return "";
    case ReferenceError::kEmpty:
      return "no reference given";
    case ReferenceError::kUnknownBook:
      return "unknown book";
    case ReferenceError::kNoChapter:
      return "chapter missing";
    case ReferenceError::kBadVerses:
      return "chapter or verses not understood";
  }
  return "";
}

BibleReference ParseBibleReference(std::string_view text) {
  BibleReference reference;
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  if (start == text.size()) {
    reference.error = ReferenceError::kEmpty;
    return reference;
  }
  // The book: an optional leading number ("1.", "1 ", "1"), then everything up to the next digit.
  std::size_t end = start;
  while (end < text.size() && IsDigit(text[end])) ++end;
  while (end < text.size() && !IsDigit(text[end])) ++end;
  reference.book = FindBibleBook(text.substr(start, end - start));
  if (!reference.book) {
    reference.error = ReferenceError::kUnknownBook;
    return reference;
  }
  Reader reader(text.substr(end));
  reference.error = ReadChapterPart(reader, reference.spans);
  if (!reference.ok()) reference.spans.clear();
  // Books of one chapter are cited by verse alone: "Jud 3" is Judas 1,3, "Phlm 4-6" Philemon 1,4-6.
  if (reference.ok() && IsSingleChapterBook(*reference.book) && reference.spans.size() == 1) {
    VerseSpan& span = reference.spans.front();
    if (span.firstVerse == 0 && span.lastChapter > 1) span = {1, span.firstChapter, 1, span.lastChapter};
  }
  return reference;
}

std::string FormatBibleReference(const BibleReference& reference) {
  if (!reference.book) return {};
  std::string text(reference.book->german);
  int previousChapter = 0;
  bool previousHadVerses = false;
  for (const VerseSpan& span : reference.spans) {
    const bool hasVerses = span.firstVerse > 0;
    if (previousChapter == 0) {
      text += ' ';
    } else if (hasVerses && previousHadVerses && span.firstChapter == previousChapter) {
      text += '.';
    } else {
      text += "; ";
    }
    if (!hasVerses) {
      text += std::to_string(span.firstChapter);
      if (span.lastChapter != span.firstChapter) text += "-" + std::to_string(span.lastChapter);
    } else {
      if (!(previousHadVerses && span.firstChapter == previousChapter)) text += std::to_string(span.firstChapter) + ",";
      text += std::to_string(span.firstVerse);
      if (span.lastChapter != span.firstChapter) {
        text += "-" + std::to_string(span.lastChapter) + "," + std::to_string(span.lastVerse);
      } else if (span.lastVerse == 0) {
        text += "ff";
      } else if (span.lastVerse != span.firstVerse) {
        text += "-" + std::to_string(span.lastVerse);
      }
    }
    previousChapter = span.lastChapter;
    previousHadVerses = hasVerses;
  }
  return text;
}

}  // namespace psalmora
