// Bible speed: importing a whole Bible (the KJV SWORD module when installed, and a generated Zefania file
// of the same size: 66 books, 1189 chapters, 31102 verses) into a program folder, and what the Bible
// page does when a translation is chosen and a chapter shown.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bible/bible_files.h"
#include "bible/bible_import.h"
#include "bible/bible_reference.h"
#include "bible/bible_xml_import.h"
#include "bible/sword/sword_import.h"
#include "core/startup_files.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSwordModule = "engKJV2006eb";
constexpr int kBooks = 66, kChapters = 1189, kVerses = 31102;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "psalmora-bible-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

bool SwordModuleInstalled() {
  if (!SwordAvailable()) return false;
  for (const SwordModuleInfo& module : ListSwordBibles()) {
    if (module.name == kSwordModule) return true;
  }
  return false;
}

// A Zefania file the size of the KJV: the chapters spread evenly over the books, the verses over the
// chapters, each verse about as long as an average KJV verse (some 130 characters).
std::string GeneratedZefania() {
  static const char* const words[] = {"and",  "the",     "LORD", "said", "unto", "Moses", "behold", "I",     "will",
                                      "send", "thee",    "into", "land", "of",   "Egypt", "people", "which", "shall",
                                      "be",   "blessed", "for",  "ever", "upon", "earth", "heaven"};
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XMLBIBLE biblename=\"Generated\">\n";
  unsigned seed = 1;
  int chapterNumber = 0, verseNumber = 0;
  for (int book = 1; book <= kBooks; ++book) {
    xml += "<BIBLEBOOK bnumber=\"" + std::to_string(book) + "\">\n";
    const int chapters = kChapters / kBooks + (book <= kChapters % kBooks ? 1 : 0);
    for (int chapter = 1; chapter <= chapters; ++chapter, ++chapterNumber) {
      xml += "<CHAPTER cnumber=\"" + std::to_string(chapter) + "\">\n";
      const int verses = kVerses / kChapters + (chapterNumber < kVerses % kChapters ? 1 : 0);
      for (int verse = 1; verse <= verses; ++verse, ++verseNumber) {
        xml += "<VERS vnumber=\"" + std::to_string(verse) + "\">";
        std::string text;
        while (text.size() < 125) {
          seed = seed * 1103515245u + 12345u;
          text += words[(seed >> 16) % std::size(words)];
          text += ' ';
        }
        xml += text + "</VERS>\n";
      }
      xml += "</CHAPTER>\n";
    }
    xml += "</BIBLEBOOK>\n";
  }
  return xml + "</XMLBIBLE>\n";
}

const fs::path& ZefaniaFile() {
  static TempFolder folder;
  static const fs::path file = [] {
    const fs::path path = folder.path() / "generated.xml";
    std::ofstream(path, std::ios::binary) << GeneratedZefania();
    return path;
  }();
  return file;
}

// Reading the source and adding it to an empty program folder, as one import does.
template <typename Read>
void ImportWhole(benchmark::State& state, const Read& read) {
  int verses = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto program = std::make_unique<TempFolder>();
    state.ResumeTiming();
    const ImportedBible bible = read();
    const AddedTranslation added = AddTranslation(program->path(), bible, "Bench");
    if (!added.ok()) {
      state.SkipWithError(added.error.c_str());
      break;
    }
    verses = added.verses;
    state.PauseTiming();
    program.reset();
    state.ResumeTiming();
  }
  state.counters["verses"] = verses;
}

void BM_ImportSwordKjv(benchmark::State& state) {
  if (!SwordModuleInstalled()) {
    state.SkipWithError("the SWORD module engKJV2006eb (sword-text-kjv) is not installed or libsword is missing");
    return;
  }
  ImportWhole(state, [] { return ReadSwordModule(kSwordModule); });
}
BENCHMARK(BM_ImportSwordKjv)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly();

void BM_ImportZefaniaSameSize(benchmark::State& state) {
  const fs::path& file = ZefaniaFile();
  ImportWhole(state, [&] { return ReadBibleXml(file); });
}
BENCHMARK(BM_ImportZefaniaSameSize)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// A program folder holding the whole KJV (from SWORD when installed, else the generated file).
const fs::path& ProgramWithBible() {
  static TempFolder folder;
  static const bool made = [] {
    const ImportedBible bible = SwordModuleInstalled() ? ReadSwordModule(kSwordModule) : ReadBibleXml(ZefaniaFile());
    return AddTranslation(folder.path(), bible, "Bench").ok();
  }();
  if (!made) std::abort();
  return folder.path();
}

// Choosing the translation on the Bible page: the index for the book tree, the translation list, the
// whole text; then a chapter near the end of the text shown (the last matching line wins, so every line
// is looked at).
void BM_LoadTranslationAndShowChapter(benchmark::State& state) {
  const fs::path& program = ProgramWithBible();
  for (auto _ : state) {
    const std::vector<std::string> index = LoadBibleIndex(program);
    int lastChapters = 0;
    for (const std::string& line : index) lastChapters += ParseBibleIndexLine(line).lastChapter;
    const std::vector<TranslationEntry> list = ReadTranslationList(program);
    const std::optional<std::vector<std::string>> text = ReadTranslationText(program, list.front());
    const std::optional<std::string> chapter = FindChapter(*text, "NT", "Offenbarung", "22");
    const std::string shown = chapter ? ChapterTextForDisplay(*chapter) : std::string();
    benchmark::DoNotOptimize(lastChapters);
    benchmark::DoNotOptimize(shown);
  }
}
BENCHMARK(BM_LoadTranslationAndShowChapter)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// A chapter and a typed passage from a translation already loaded.
void BM_ShowChapterAndPassageLoaded(benchmark::State& state) {
  const fs::path& program = ProgramWithBible();
  const std::vector<std::string> text = *ReadTranslationText(program, ReadTranslationList(program).front());
  const BibleReference reference = ParseBibleReference("Ps 23,1-6");
  for (auto _ : state) {
    const std::optional<std::string> chapter = FindChapter(text, "NT", "Offenbarung", "22");
    std::string shown = chapter ? ChapterTextForDisplay(*chapter) : std::string();
    const Passage passage = ExtractPassage(text, reference);
    benchmark::DoNotOptimize(shown);
    benchmark::DoNotOptimize(passage);
  }
}
BENCHMARK(BM_ShowChapterAndPassageLoaded)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
}  // namespace psalmora
